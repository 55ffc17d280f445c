#include "ScratchMount.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <vector>

namespace tellurix::testing {
namespace fs = std::filesystem;

ScratchMount::ScratchMount(std::size_t bytes, bool readOnly) {
  std::random_device device;
  for (;;) {
    path_ = fs::temp_directory_path() / ("tellurix-mount-" + std::to_string(device()));
    if (fs::create_directory(path_)) break;
  }
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
  if (::mount("tmpfs", path_.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, options.c_str()) == 0) {
    mounted_ = true;
  } else {
    failure_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
  }
}

ScratchMount::~ScratchMount() {
  if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

bool ScratchMount::makeReadOnly() {
  return mounted_ && ::mount("tmpfs", path_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

void ScratchMount::fill() {
  std::ofstream out(path_ / "filler", std::ios::binary);
  const std::vector<char> block(4096, 'x');
  while (out.write(block.data(), static_cast<std::streamsize>(block.size()))) {
  }
  // The last partial block.
  out.clear();
  for (;;) {
    out.put('x');
    out.flush();
    if (!out) break;
  }
}

}  // namespace tellurix::testing

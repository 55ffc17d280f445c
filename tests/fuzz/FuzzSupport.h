#pragma once

// What the fuzz targets share: a checked expectation that stops the process (so that the
// fuzzer records the input and the replay test fails), a reader that takes parameters from
// the front of an input, and a scratch folder of the process's own.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>

namespace tellurix::fuzz {

[[noreturn]] inline void failed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: expectation failed: %s\n", file, line, what);
  std::abort();
}

// Unlike assert(), also checked in release builds.
#define FUZZ_EXPECT(condition) \
  ((condition) ? static_cast<void>(0) : ::tellurix::fuzz::failed(#condition, __FILE__, __LINE__))

// Takes bytes from the front of the input; past its end every byte reads as 0.
class InputReader {
 public:
  InputReader(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

  std::uint8_t byte() {
    if (bytes_.empty()) return 0;
    const std::uint8_t b = bytes_.front();
    bytes_ = bytes_.subspan(1);
    return b;
  }
  std::uint16_t word() { return static_cast<std::uint16_t>(byte() << 8 | byte()); }
  // Up to n bytes, fewer when the input ends first.
  std::span<const std::uint8_t> take(std::size_t n) {
    const auto part = bytes_.first(std::min(n, bytes_.size()));
    bytes_ = bytes_.subspan(part.size());
    return part;
  }
  [[nodiscard]] std::span<const std::uint8_t> rest() const { return bytes_; }

 private:
  std::span<const std::uint8_t> bytes_;
};

// A folder under the temporary folder named after the process, emptied for every input and
// removed when the process ends normally.
class ScratchDir {
 public:
  ScratchDir()
      : path_(std::filesystem::temp_directory_path() /
              ("tellurix-fuzz-" + std::to_string(static_cast<long>(::getpid())))) {
    clear();
  }
  ~ScratchDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  void clear() const {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    std::filesystem::create_directories(path_);
  }
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  [[nodiscard]] std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void writeBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace tellurix::fuzz

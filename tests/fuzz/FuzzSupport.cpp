#include "FuzzSupport.h"

namespace tellurix::fuzz {

void writeBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  FUZZ_EXPECT(out != nullptr);
  FUZZ_EXPECT(std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size());
  FUZZ_EXPECT(std::fclose(out) == 0);
}

}  // namespace tellurix::fuzz

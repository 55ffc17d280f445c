// The capture-time reader on any file. Its result must equal that of a plain byte-by-byte
// reading of the same bytes held in memory: the reader's block reads and its fast pair search
// must not change what is found, wherever a block or a pattern boundary falls.
//
// Input: a flags byte, then the file. With bit 0 set, two more bytes give a run of one byte
// value (up to 130 KiB) put in after the first 22 bytes of the file, so that the date lies
// beyond the reader's first block or across its larger later ones.

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "tagging/CaptureTime.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// An attempt compares bytes with the pattern from its first byte on; after a mismatch the
// next attempt starts after the mismatching byte. The offset after the match, if any.
std::optional<std::size_t> scan(const Bytes& file, std::size_t from,
                                std::initializer_list<std::uint8_t> pattern) {
  std::size_t i = from;
  while (i < file.size()) {
    std::size_t matched = 0;
    for (const std::uint8_t p : pattern) {
      if (i >= file.size()) return std::nullopt;
      if (file[i++] != p) break;
      ++matched;
    }
    if (matched == pattern.size()) return i;
  }
  return std::nullopt;
}

std::string plainCaptureTime(const Bytes& file) {
  std::array<std::uint8_t, 16> id{};
  for (std::size_t k = 0; k < id.size() && 6 + k < file.size(); ++k) id[k] = file[6 + k];
  if (std::memcmp(id.data(), "Exif", 5) != 0 && std::memcmp(id.data(), "JFIF", 5) != 0) {
    return tellurix::tagging::kNotAPhotoDate;
  }
  const auto pointer = scan(file, 22, {0x69, 0x87});
  if (!pointer) return tellurix::tagging::kNoExifDate;
  const auto entry = scan(file, *pointer, {0x03, 0x90});
  if (!entry) return tellurix::tagging::kNoExifDate;

  std::uint32_t valueOffset = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    const std::size_t at = *entry + 6 + k;
    // Past the end the bytes are those of the tag and the identifier read before.
    const std::uint8_t b = at < file.size() ? file[at] : (6 + k < id.size() ? id[6 + k] : 0);
    valueOffset |= std::uint32_t{b} << (8 * k);
  }
  // Where the value starts past the end of the file, no date is read.
  if (valueOffset >= file.size()) return tellurix::tagging::kNoExifDate;
  const auto header = scan(file, 0, {0x49, 0x49, 0x2A, 0x00});
  const std::size_t at = (header ? *header - 4 : 0) + valueOffset;
  if (at >= file.size()) return tellurix::tagging::kNoExifDate;

  std::array<char, 20> date{};
  for (std::size_t k = 0; k < date.size() && at + k < file.size(); ++k)
    date[k] = static_cast<char>(file[at + k]);
  date[4] = '/';
  date[7] = '/';
  return std::string(date.data(), strnlen(date.data(), date.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tellurix::fuzz::ScratchDir scratch;
  tellurix::fuzz::InputReader in(data, size);
  const std::uint8_t flags = in.byte();
  Bytes file;
  if (flags & 1) {
    const std::size_t run = std::size_t{in.byte()} * 512;
    const std::uint8_t fill = in.byte();
    const auto head = in.take(22);
    file.assign(head.begin(), head.end());
    file.insert(file.end(), run, fill);
  }
  file.insert(file.end(), in.rest().begin(), in.rest().end());

  const std::string path = scratch.file("photo.jpg");
  tellurix::fuzz::writeBytes(path, file);
  const std::optional<std::string> text = tellurix::tagging::readCaptureTime(path);
  FUZZ_EXPECT(text.has_value());
  FUZZ_EXPECT(text->size() <= 20);
  const std::string expected = plainCaptureTime(file);
  if (*text != expected) {
    std::fprintf(stderr, "reader \"%s\", plain reading \"%s\"\n", text->c_str(), expected.c_str());
  }
  FUZZ_EXPECT(*text == expected);
  return 0;
}

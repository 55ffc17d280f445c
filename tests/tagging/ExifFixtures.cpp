#include "ExifFixtures.h"

#include <vector>

namespace tellurix::tagging::fixtures {
namespace {

struct Entry {
  std::uint16_t tag;
  std::uint16_t type;
  std::uint32_t count;
  std::string value;  // four bytes, in the file's byte order
};

class Writer {
 public:
  explicit Writer(bool bigEndian) : bigEndian_(bigEndian) {}
  [[nodiscard]] std::string u16(std::uint16_t v) const { return bigEndian_ ? be16(v) : le16(v); }
  [[nodiscard]] std::string u32(std::uint32_t v) const { return bigEndian_ ? be32(v) : le32(v); }

  [[nodiscard]] std::string directory(const std::vector<Entry>& entries) const {
    std::string out = u16(static_cast<std::uint16_t>(entries.size()));
    for (const Entry& e : entries) out += u16(e.tag) + u16(e.type) + u32(e.count) + e.value;
    return out + u32(0);  // no next directory
  }

 private:
  bool bigEndian_;
};

}  // namespace

std::string le16(std::uint16_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string le32(std::uint32_t v) {
  return le16(static_cast<std::uint16_t>(v)) + le16(static_cast<std::uint16_t>(v >> 16));
}
std::string be16(std::uint16_t v) {
  return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
}
std::string be32(std::uint32_t v) {
  return be16(static_cast<std::uint16_t>(v >> 16)) + be16(static_cast<std::uint16_t>(v));
}

std::string segment(std::uint8_t marker, const std::string& payload) {
  return std::string{'\xFF', static_cast<char>(marker)} +
         be16(static_cast<std::uint16_t>(payload.size() + 2)) + payload;
}

std::string jfifSegment() {
  return segment(0xE0, std::string("JFIF\0\x01\x01\x00\x00\x01\x00\x01\x00\x00", 14));
}

std::string tiffBlock(const ExifLayout& layout) {
  const Writer w(layout.bigEndian);
  constexpr std::uint16_t kAscii = 2;
  constexpr std::uint16_t kLong = 4;
  std::string make = layout.make;
  make.resize(4, '\0');
  std::string tiff = (layout.bigEndian ? std::string("MM\0\x2A", 4) : std::string("II\x2A\0", 4)) + w.u32(8);
  const std::string ifd0 =
      w.directory({{0x010F, kAscii, 4, make}, {layout.exifPointerTag, kLong, 1, w.u32(38)}});
  tiff += ifd0;  // 30 bytes from offset 8
  std::vector<Entry> exif;
  if (layout.extraTag != 0) exif.push_back({layout.extraTag, kLong, 1, w.u32(layout.extraValue)});
  const auto directoriesEnd = static_cast<std::uint32_t>(tiff.size() + 2 + 12 * (exif.size() + 1) + 4);
  const std::uint32_t dateOffset = layout.dateOffset.value_or(directoriesEnd);
  exif.push_back({0x9003, kAscii, 20, w.u32(dateOffset)});
  tiff += w.directory(exif);
  std::string date = layout.date;
  date.resize(20, '\0');
  if (tiff.size() < dateOffset) tiff.resize(dateOffset, '\0');
  return tiff + date;
}

std::string exifPayload(const ExifLayout& layout) {
  return std::string("Exif\0\0", 6) + tiffBlock(layout);
}

std::string jpeg(const std::string& segments) {
  return "\xFF\xD8" + segments + "\xFF\xD9";
}

std::string exifJpeg(const ExifLayout& layout) {
  return jpeg(segment(0xE1, exifPayload(layout)));
}

}  // namespace tellurix::tagging::fixtures

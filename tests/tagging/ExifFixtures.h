#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tellurix::tagging::fixtures {

// Small photo files built byte by byte, laid out the way cameras write them.

std::string le16(std::uint16_t v);
std::string le32(std::uint32_t v);
std::string be16(std::uint16_t v);
std::string be32(std::uint32_t v);

// A JPEG marker segment: FF, the marker, the big-endian length and the payload.
std::string segment(std::uint8_t marker, const std::string& payload);

// APP0 "JFIF" version 1.01, no thumbnail: 18 bytes.
std::string jfifSegment();

// Where the date value sits in the TIFF block of the default layout (no extra entry).
inline constexpr std::uint32_t kDateAfterDirectories = 56;

struct ExifLayout {
  std::string date = "2010:09:09 14:05:03";
  bool bigEndian = false;
  // The date value's offset from the TIFF header; zero bytes pad the gap after the
  // directories. Nothing: right after them.
  std::optional<std::uint32_t> dateOffset;
  std::string make = "Cam";  // four bytes with its terminator, so it sits in its entry
  std::uint16_t exifPointerTag = 0x8769;
  // A LONG entry written before DateTimeOriginal in the Exif directory, when not zero.
  std::uint16_t extraTag = 0;
  std::uint32_t extraValue = 0;
};

// The TIFF block: header, IFD0 (Make, Exif pointer), the Exif directory (DateTimeOriginal and
// the extra entry) and the 20-byte date value.
std::string tiffBlock(const ExifLayout& layout);

// "Exif\0\0" and the TIFF block as an APP1 payload.
std::string exifPayload(const ExifLayout& layout);

// SOI, the segments given, EOI.
std::string jpeg(const std::string& segments);

// SOI, APP1 Exif with the layout, EOI; the TIFF header sits at file offset 12.
std::string exifJpeg(const ExifLayout& layout = {});

}  // namespace tellurix::tagging::fixtures

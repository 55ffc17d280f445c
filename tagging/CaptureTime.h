#pragma once

#include <optional>
#include <string>

namespace tellurix::tagging {

// The date texts a photo gets when its file holds no usable capture time. Users' photo lists
// and adjustments are built on them, so they never change.
inline constexpr const char* kNotAPhotoDate = "2000/01/01 10:10:10";  // neither Exif nor JFIF
inline constexpr const char* kNoExifDate = "2000/06/06 10:10:10";     // no date entry found

// The Exif DateTimeOriginal of a JPEG file as "YYYY/MM/DD HH:MM:SS" (at most 20 characters:
// whatever the camera wrote there, with the two date separators made slashes), or one of the
// two default texts. Nothing when the file cannot be opened for reading.
//
// This is a byte scanner, not an Exif parser: it finds the little-endian TIFF header
// 49 49 2A 00 and then the byte pairs 69 87 (Exif directory pointer) and 03 90
// (DateTimeOriginal) in file order, without stepping back after a partial match, so that
// 49 49 49 2A 00 holds no header and 03 03 90 no date tag. Big-endian Exif is not understood.
std::optional<std::string> readCaptureTime(const std::string& path);

}  // namespace tellurix::tagging

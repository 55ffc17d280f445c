#pragma once

#include <cstdint>
#include <string>

namespace tellurix::bench {

// Camera-sized photo files for the capture-time benchmark. The bytes after the headers stand
// for entropy-coded image data (random, with FF bytes stuffed as in a real scan); no decoder
// reads them.
struct BenchPhotoOptions {
  std::uint64_t seed = 1;
  std::size_t bytes = 3 * 1024 * 1024;
  bool exif = true;  // false: a JFIF file without Exif
  // For a JFIF file: data without any 69 87 pair, so that the capture-time scan reads the
  // file to its end (the slowest file there is). Real entropy-coded data holds the pair every
  // 64 KiB or so, and the scan stops much earlier.
  bool scanToEnd = true;
  std::string date = "2010:09:09 14:05:03";
};

std::string benchPhoto(const BenchPhotoOptions& options);

// `count` photos named P0000.jpg ... in `folder`: 2 to 5 MB each, every tenth a JFIF without
// Exif (scanned to its end unless `realJfifData`), the others Exif first with dates a minute
// apart. Returns how many carry Exif.
int writeBenchPhotos(const std::string& folder, int count, std::uint64_t seed, bool realJfifData = false);

// A 6000 x 4000 photo-like JPEG (smooth colour fields with sensor noise), quality 92, 4:2:0.
void writeLargeJpeg(const std::string& path, int width = 6000, int height = 4000);

}  // namespace tellurix::bench

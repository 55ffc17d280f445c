#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tellurix::tagging::fixtures {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
};

enum class JpegKind { Baseline, Progressive, Grey, AdobeCmyk };

// Writes a JPEG of the given size whose pixel (x, y) is `pixel(x, y)`, through libjpeg.
// AdobeCmyk stores the colours as inverted CMYK with an Adobe marker, as image editors do.
void writeJpeg(const std::string& path, int width, int height, const std::function<Rgb(int, int)>& pixel,
               JpegKind kind = JpegKind::Baseline, int quality = 90);

}  // namespace tellurix::tagging::fixtures

#include "JpegWriter.h"

#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace tellurix::tagging::fixtures {

void writeJpeg(const std::string& path, int width, int height, const std::function<Rgb(int, int)>& pixel,
               JpegKind kind, int quality) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  jpeg_compress_struct encoder{};
  jpeg_error_mgr errors{};
  encoder.err = jpeg_std_error(&errors);
  jpeg_create_compress(&encoder);
  jpeg_stdio_dest(&encoder, file);
  encoder.image_width = static_cast<JDIMENSION>(width);
  encoder.image_height = static_cast<JDIMENSION>(height);
  const int components = kind == JpegKind::Grey ? 1 : kind == JpegKind::AdobeCmyk ? 4 : 3;
  encoder.input_components = components;
  encoder.in_color_space = kind == JpegKind::Grey        ? JCS_GRAYSCALE
                           : kind == JpegKind::AdobeCmyk ? JCS_CMYK
                                                         : JCS_RGB;
  jpeg_set_defaults(&encoder);
  jpeg_set_quality(&encoder, quality, TRUE);
  if (kind == JpegKind::Progressive) jpeg_simple_progression(&encoder);
  jpeg_start_compress(&encoder, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width * components));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      std::uint8_t* out = &row[static_cast<std::size_t>(x * components)];
      if (kind == JpegKind::Grey) {
        out[0] = static_cast<std::uint8_t>((c.r + c.g + c.b) / 3);
      } else if (kind == JpegKind::AdobeCmyk) {
        // Inverted CMYK with no black: 255 means no ink.
        out[0] = c.r;
        out[1] = c.g;
        out[2] = c.b;
        out[3] = 255;
      } else {
        out[0] = c.r;
        out[1] = c.g;
        out[2] = c.b;
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&encoder, rows, 1);
  }
  jpeg_finish_compress(&encoder);
  jpeg_destroy_compress(&encoder);
  std::fclose(file);
}

}  // namespace tellurix::tagging::fixtures

#include "BenchPhotos.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace tellurix::bench {
namespace {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}
  std::uint64_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }

 private:
  std::uint64_t state_;
};

void put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}

std::string segment(std::uint8_t marker, const std::string& payload) {
  const auto length = static_cast<std::uint16_t>(payload.size() + 2);
  return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                     static_cast<char>(length & 0xFF)} +
         payload;
}

struct Entry {
  std::uint16_t tag;
  std::uint16_t type;
  std::uint32_t count;
  std::string data;  // the value bytes; up to four sit in the entry, more go to the data area
};

// One little-endian directory at `offset` of the TIFF block, its long values following it.
std::string directory(const std::vector<Entry>& entries, std::uint32_t offset, std::uint32_t next) {
  std::string dir;
  std::string data;
  const auto dataStart = static_cast<std::uint32_t>(offset + 2 + entries.size() * 12 + 4);
  put16(dir, static_cast<std::uint16_t>(entries.size()));
  for (const Entry& e : entries) {
    put16(dir, e.tag);
    put16(dir, e.type);
    put32(dir, e.count);
    if (e.data.size() <= 4) {
      std::string inline4 = e.data;
      inline4.resize(4, '\0');
      dir += inline4;
    } else {
      put32(dir, dataStart + static_cast<std::uint32_t>(data.size()));
      data += e.data;
      if (data.size() % 2 != 0) data += '\0';
    }
  }
  put32(dir, next);
  return dir + data;
}

std::string ascii(const std::string& text) {
  return text + '\0';
}
std::string rational(std::uint32_t num, std::uint32_t den) {
  std::string out;
  put32(out, num);
  put32(out, den);
  return out;
}
std::string short16(std::uint16_t v) {
  std::string out;
  put16(out, v);
  return out;
}

// A camera's APP1: IFD0 with the usual description tags, then the Exif directory.
std::string exifSegment(const std::string& date) {
  constexpr std::uint16_t kShort = 3, kAscii = 2, kLong = 4, kRational = 5, kUndefined = 7;
  const std::vector<Entry> exifEntries{
      {0x829A, kRational, 1, rational(1, 250)},
      {0x829D, kRational, 1, rational(56, 10)},
      {0x8822, kShort, 1, short16(2)},
      {0x8827, kShort, 1, short16(200)},
      {0x9000, kUndefined, 4, "0230"},
      {0x9003, kAscii, 20, ascii(date)},
      {0x9004, kAscii, 20, ascii(date)},
      {0x9201, kRational, 1, rational(8, 1)},
      {0x9202, kRational, 1, rational(5, 1)},
      {0x9207, kShort, 1, short16(5)},
      {0x9209, kShort, 1, short16(16)},
      {0x920A, kRational, 1, rational(240, 10)},
      {0x9286, kUndefined, 64, std::string(64, '\0')},
      {0xA001, kShort, 1, short16(1)},
      {0xA002, kLong, 1, std::string("\x70\x17\0\0", 4)},
      {0xA003, kLong, 1, std::string("\xA0\x0F\0\0", 4)},
  };
  std::vector<Entry> ifd0{
      {0x010F, kAscii, 8, ascii("Tellcam")},    {0x0110, kAscii, 12, ascii("TX-100 Mk2")},
      {0x0112, kShort, 1, short16(1)},          {0x011A, kRational, 1, rational(72, 1)},
      {0x011B, kRational, 1, rational(72, 1)},  {0x0128, kShort, 1, short16(2)},
      {0x0131, kAscii, 10, ascii("Firm 1.02")}, {0x0132, kAscii, 20, ascii(date)},
      {0x0213, kShort, 1, short16(2)},          {0x8769, kLong, 1, ""},
  };
  // IFD0 at 8; the Exif directory follows IFD0 and its data.
  std::string probe = directory(ifd0, 8, 0);
  const auto exifAt = static_cast<std::uint32_t>(8 + probe.size());
  ifd0.back().data.clear();
  put32(ifd0.back().data, exifAt);
  std::string tiff("II\x2A\0\x08\0\0\0", 8);
  tiff += directory(ifd0, 8, 0);
  tiff += directory(exifEntries, exifAt, 0);
  // A maker note's worth of bytes, as cameras leave after the standard tags.
  tiff += std::string(6000, '\0');
  return segment(0xE1, std::string("Exif\0\0", 6) + tiff);
}

std::string headerSegments() {
  std::string out =
      segment(0xDB, std::string(1, '\0') + std::string(64, '\x10') + '\x01' + std::string(64, '\x11'));
  out += segment(0xC0, std::string("\x08\x0F\xA0\x17\x70\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 15));
  out += segment(0xC4, std::string(1 + 16 + 12, '\x01'));
  out += segment(0xDA, std::string("\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 10));
  return out;
}

}  // namespace

std::string benchPhoto(const BenchPhotoOptions& options) {
  std::string out = "\xFF\xD8";
  out += options.exif ? exifSegment(options.date)
                      : segment(0xE0, std::string("JFIF\0\x01\x01\x01\x00\x48\x00\x48\x00\x00", 14));
  out += headerSegments();
  Random random(options.seed);
  out.reserve(options.bytes + 16);
  char previous = 0;
  while (out.size() + 2 < options.bytes) {
    std::uint64_t word = random.next();
    for (int i = 0; i < 8; ++i, word >>= 8) {
      char c = static_cast<char>(word & 0xFF);
      if (!options.exif && options.scanToEnd && previous == '\x69' && c == '\x87') c = '\x86';
      out += c;
      if (c == '\xFF') out += '\0';  // stuffed, as a scan never holds a bare FF
      previous = c == '\xFF' ? '\0' : c;
    }
  }
  return out + "\xFF\xD9";
}

int writeBenchPhotos(const std::string& folder, int count, std::uint64_t seed, bool realJfifData) {
  std::filesystem::create_directories(folder);
  Random random(seed);
  int withExif = 0;
  for (int i = 0; i < count; ++i) {
    BenchPhotoOptions options;
    options.seed = random.next();
    options.bytes = 2 * 1024 * 1024 + random.next() % (3 * 1024 * 1024);
    options.exif = i % 10 != 9;
    options.scanToEnd = !realJfifData;
    char date[32];
    std::snprintf(date, sizeof date, "2010:09:%02d %02d:%02d:00", 9 + i / 1440, i / 60 % 24, i % 60);
    options.date = date;
    withExif += options.exif ? 1 : 0;
    char name[32];
    std::snprintf(name, sizeof name, "/P%04d.jpg", i);
    std::ofstream(folder + name, std::ios::binary) << benchPhoto(options);
  }
  return withExif;
}

void writeLargeJpeg(const std::string& path, int width, int height) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  jpeg_compress_struct encoder{};
  jpeg_error_mgr errors{};
  encoder.err = jpeg_std_error(&errors);
  jpeg_create_compress(&encoder);
  jpeg_stdio_dest(&encoder, file);
  encoder.image_width = static_cast<JDIMENSION>(width);
  encoder.image_height = static_cast<JDIMENSION>(height);
  encoder.input_components = 3;
  encoder.in_color_space = JCS_RGB;
  jpeg_set_defaults(&encoder);
  jpeg_set_quality(&encoder, 92, TRUE);
  jpeg_start_compress(&encoder, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
  Random random(7);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width;
      const double v = static_cast<double>(y) / height;
      const double base[3] = {128 + 100 * std::sin(6 * u + 2 * v), 128 + 90 * std::cos(4 * v - 3 * u),
                              128 + 80 * std::sin(9 * u * v + 1)};
      const std::uint64_t noise = random.next();
      for (int c = 0; c < 3; ++c) {
        const double value = base[c] + static_cast<double>((noise >> (8 * c)) & 0x1F) - 16;
        row[static_cast<std::size_t>(x) * 3 + static_cast<std::size_t>(c)] =
            static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&encoder, rows, 1);
  }
  jpeg_finish_compress(&encoder);
  jpeg_destroy_compress(&encoder);
  std::fclose(file);
}

}  // namespace tellurix::bench

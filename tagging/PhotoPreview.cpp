#include "PhotoPreview.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared first, jerror.h the types of jpeglib.h.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace tellurix::tagging {
namespace {

// Area average of the decoder's rows onto the target size, fed one source row at a time so
// that only one row of the decoded picture is ever held.
class AreaShrink {
 public:
  AreaShrink(PixelSize source, PixelSize target)
      : source_(source),
        target_(target),
        columnOf_(static_cast<std::size_t>(source.width)),
        columnCount_(static_cast<std::size_t>(target.width), 0),
        sums_(static_cast<std::size_t>(target.width) * 3, 0) {
    for (int x = 0; x < source.width; ++x) {
      const auto column = static_cast<std::size_t>(std::int64_t{x} * target.width / source.width);
      columnOf_[static_cast<std::size_t>(x)] = static_cast<std::uint32_t>(column);
      ++columnCount_[column];
    }
    image_.size = target;
    image_.rgb.resize(static_cast<std::size_t>(target.width) * static_cast<std::size_t>(target.height) * 3);
  }

  void addRow(const std::uint8_t* rgb) {
    if (sourceRow_ >= source_.height) return;
    const int targetRow = static_cast<int>(std::int64_t{sourceRow_} * target_.height / source_.height);
    if (targetRow != targetRow_) flush();
    targetRow_ = targetRow;
    for (std::size_t x = 0; x < columnOf_.size(); ++x) {
      std::uint32_t* sum = &sums_[std::size_t{columnOf_[x]} * 3];
      sum[0] += rgb[x * 3];
      sum[1] += rgb[x * 3 + 1];
      sum[2] += rgb[x * 3 + 2];
    }
    ++rowsInSum_;
    ++sourceRow_;
  }

  PreviewImage finish() {
    flush();
    return std::move(image_);
  }

 private:
  void flush() {
    if (rowsInSum_ == 0) return;
    std::uint8_t* out =
        &image_.rgb[static_cast<std::size_t>(targetRow_) * static_cast<std::size_t>(target_.width) * 3];
    for (std::size_t x = 0; x < columnCount_.size(); ++x) {
      const std::uint32_t count = columnCount_[x] * rowsInSum_;
      for (std::size_t c = 0; c < 3; ++c) {
        out[x * 3 + c] = static_cast<std::uint8_t>((sums_[x * 3 + c] + count / 2) / count);
      }
    }
    std::fill(sums_.begin(), sums_.end(), 0);
    rowsInSum_ = 0;
  }

  PixelSize source_;
  PixelSize target_;
  std::vector<std::uint32_t> columnOf_;
  std::vector<std::uint32_t> columnCount_;
  std::vector<std::uint32_t> sums_;
  PreviewImage image_;
  int sourceRow_ = 0;
  int targetRow_ = 0;
  std::uint32_t rowsInSum_ = 0;
};

constexpr long kDecoderMemory = 1L << 30;

// The decoder reports a fatal error by jumping back here instead of ending the program.
struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jumpOnError(j_common_ptr decoder) {
  auto* errors = reinterpret_cast<ErrorJump*>(decoder->err);
  (*decoder->err->format_message)(decoder, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings about recoverable damage go nowhere: the picture is still shown.
void dropMessage(j_common_ptr /*decoder*/) {}

// The decoder's input in large blocks. Its fast Huffman path needs a few kilobytes of data
// ahead of every MCU; with the stock 4 KiB stdio buffer it falls back to the slow path for a
// quarter of a photo.
struct BlockSource {
  static constexpr std::size_t kBlock = 256 * 1024;

  jpeg_source_mgr manager{};
  std::FILE* file = nullptr;
  std::vector<JOCTET> block;
  bool started = false;

  static BlockSource& of(j_decompress_ptr decoder) {
    return *static_cast<BlockSource*>(decoder->client_data);
  }

  static void init(j_decompress_ptr decoder) { of(decoder).started = false; }

  static boolean fill(j_decompress_ptr decoder) {
    BlockSource& self = of(decoder);
    std::size_t n = std::fread(self.block.data(), 1, self.block.size(), self.file);
    if (n == 0) {
      if (!self.started) ERREXIT(decoder, JERR_INPUT_EMPTY);
      // A file cut short: end the picture here, as the stock source does.
      WARNMS(decoder, JWRN_JPEG_EOF);
      self.block[0] = 0xFF;
      self.block[1] = JPEG_EOI;
      n = 2;
    }
    self.manager.next_input_byte = self.block.data();
    self.manager.bytes_in_buffer = n;
    self.started = true;
    return TRUE;
  }

  static void skip(j_decompress_ptr decoder, long count) {
    BlockSource& self = of(decoder);
    if (count <= 0) return;
    auto rest = static_cast<std::size_t>(count);
    while (rest > self.manager.bytes_in_buffer) {
      rest -= self.manager.bytes_in_buffer;
      fill(decoder);
    }
    self.manager.next_input_byte += rest;
    self.manager.bytes_in_buffer -= rest;
  }

  static void term(j_decompress_ptr /*decoder*/) {}

  void attach(j_decompress_ptr decoder, std::FILE* input) {
    file = input;
    block.resize(kBlock);
    manager.init_source = init;
    manager.fill_input_buffer = fill;
    manager.skip_input_data = skip;
    manager.resync_to_restart = jpeg_resync_to_restart;
    manager.term_source = term;
    manager.bytes_in_buffer = 0;
    manager.next_input_byte = nullptr;
    decoder->src = &manager;
    decoder->client_data = this;
  }
};

// Everything the decoding needs lives here rather than in the function that calls setjmp,
// so that a jump back leaves no object half-changed or undestroyed.
struct Decoding {
  Decoding() = default;
  Decoding(const Decoding&) = delete;
  Decoding& operator=(const Decoding&) = delete;
  ~Decoding() {
    if (created) jpeg_destroy_decompress(&decoder);
    if (file != nullptr) std::fclose(file);
  }

  jpeg_decompress_struct decoder{};
  ErrorJump errors{};
  std::FILE* file = nullptr;
  BlockSource source;
  bool created = false;
  std::vector<std::uint8_t> row;  // one decoded row
  std::vector<std::uint8_t> rgbRow;
  std::optional<AreaShrink> shrink;
};

void toRgb(const Decoding& d, std::uint8_t* rgb) {
  const std::uint8_t* in = d.row.data();
  const JDIMENSION width = d.decoder.output_width;
  // Adobe's files store CMYK inverted; others as it stands.
  const bool inverted = d.decoder.saw_Adobe_marker != 0;
  for (JDIMENSION x = 0; x < width; ++x, in += 4, rgb += 3) {
    const unsigned k = inverted ? in[3] : 255U - in[3];
    for (int c = 0; c < 3; ++c) {
      const unsigned ink = inverted ? in[c] : 255U - in[c];
      rgb[c] = static_cast<std::uint8_t>((ink * k + 127) / 255);
    }
  }
}

// Only trivially destructible locals here: the decoder may jump back into this function.
bool decodeInto(Decoding& d, PixelSize box) {
  if (setjmp(d.errors.jump) != 0) return false;
  jpeg_create_decompress(&d.decoder);
  d.created = true;
  // A progressive file keeps all its coefficients in memory: a forged or giant picture fails
  // with a message instead of exhausting the machine.
  d.decoder.mem->max_memory_to_use = kDecoderMemory;
  d.source.attach(&d.decoder, d.file);
  if (jpeg_read_header(&d.decoder, TRUE) != JPEG_HEADER_OK) {
    std::snprintf(d.errors.message, sizeof d.errors.message, "no image in the file");
    return false;
  }
  const PixelSize image{static_cast<int>(d.decoder.image_width), static_cast<int>(d.decoder.image_height)};
  const PixelSize target = fitWithin(image, box);
  const bool cmyk = d.decoder.jpeg_color_space == JCS_CMYK || d.decoder.jpeg_color_space == JCS_YCCK;
  d.decoder.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  d.decoder.scale_num = static_cast<unsigned>(dctScaleFor(image, target));
  d.decoder.scale_denom = 8;
  jpeg_start_decompress(&d.decoder);

  const PixelSize decoded{static_cast<int>(d.decoder.output_width),
                          static_cast<int>(d.decoder.output_height)};
  d.row.resize(std::size_t{d.decoder.output_width} * static_cast<std::size_t>(d.decoder.output_components));
  if (cmyk) d.rgbRow.resize(std::size_t{d.decoder.output_width} * 3);
  d.shrink.emplace(decoded,
                   PixelSize{std::min(target.width, decoded.width), std::min(target.height, decoded.height)});
  while (d.decoder.output_scanline < d.decoder.output_height) {
    JSAMPROW rows[1] = {d.row.data()};
    jpeg_read_scanlines(&d.decoder, rows, 1);
    if (cmyk) toRgb(d, d.rgbRow.data());
    d.shrink->addRow(cmyk ? d.rgbRow.data() : d.row.data());
  }
  jpeg_finish_decompress(&d.decoder);
  return true;
}

}  // namespace

PixelSize fitWithin(PixelSize image, PixelSize box) {
  box = {std::max(box.width, 1), std::max(box.height, 1)};
  if (image.width <= box.width && image.height <= box.height) return image;
  const std::int64_t widthAtBoxHeight = std::int64_t{image.width} * box.height / image.height;
  PixelSize fitted =
      widthAtBoxHeight <= box.width
          ? PixelSize{static_cast<int>(widthAtBoxHeight), box.height}
          : PixelSize{box.width, static_cast<int>(std::int64_t{image.height} * box.width / image.width)};
  fitted.width = std::max(fitted.width, 1);
  fitted.height = std::max(fitted.height, 1);
  return fitted;
}

int dctScaleFor(PixelSize image, PixelSize target) {
  for (int m = 1; m < 8; ++m) {
    const std::int64_t width = (std::int64_t{image.width} * m + 7) / 8;
    const std::int64_t height = (std::int64_t{image.height} * m + 7) / 8;
    if (width >= target.width && height >= target.height) return m;
  }
  return 8;
}

PreviewResult decodePreview(const std::string& path, PixelSize box) {
  Decoding d;
  d.decoder.err = jpeg_std_error(&d.errors.manager);
  d.errors.manager.error_exit = jumpOnError;
  d.errors.manager.output_message = dropMessage;
  d.file = std::fopen(path.c_str(), "rb");
  if (d.file == nullptr) return {std::nullopt, path + ": " + std::strerror(errno)};
  if (!decodeInto(d, box)) return {std::nullopt, path + ": " + d.errors.message};
  return {d.shrink->finish(), {}};
}

}  // namespace tellurix::tagging

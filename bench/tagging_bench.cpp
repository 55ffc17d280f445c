// Capture time and preview, in process. Run: build/release/bench/tagging_bench
//   --benchmark_repetitions=9 --benchmark_report_aggregates_only=true   (medians)
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "BenchPhotos.h"
#include "tagging/CaptureTime.h"
#include "tagging/PhotoPreview.h"

namespace {

namespace fs = std::filesystem;

fs::path benchFolder() {
  static const fs::path folder = [] {
    fs::path f = fs::temp_directory_path() / "tellurix-tagging-bench";
    fs::create_directories(f);
    return f;
  }();
  return folder;
}

std::string photoFile(const char* name, bool exif) {
  const fs::path path = benchFolder() / name;
  if (!fs::exists(path)) {
    tellurix::bench::BenchPhotoOptions options;
    options.exif = exif;
    std::ofstream(path, std::ios::binary) << tellurix::bench::benchPhoto(options);
  }
  return path.string();
}

std::string largeJpeg() {
  const fs::path path = benchFolder() / "24mp.jpg";
  if (!fs::exists(path)) tellurix::bench::writeLargeJpeg(path.string());
  return path.string();
}

void captureTime(benchmark::State& state, bool exif) {
  const std::string path = photoFile(exif ? "exif-3mb.jpg" : "jfif-3mb.jpg", exif);
  for (auto _ : state) benchmark::DoNotOptimize(tellurix::tagging::readCaptureTime(path));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(path)));
}
void BM_CaptureTimeExifFirst3MB(benchmark::State& state) {
  captureTime(state, true);
}
void BM_CaptureTimeJfifReadToEnd3MB(benchmark::State& state) {
  captureTime(state, false);
}
BENCHMARK(BM_CaptureTimeExifFirst3MB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaptureTimeJfifReadToEnd3MB)->Unit(benchmark::kMicrosecond);

void BM_Preview24Megapixels(benchmark::State& state) {
  const std::string path = largeJpeg();
  for (auto _ : state) {
    auto result = tellurix::tagging::decodePreview(path);
    if (!result.image) state.SkipWithError(result.error.c_str());
    benchmark::DoNotOptimize(result);
  }
  state.counters["file_MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_Preview24Megapixels)->Unit(benchmark::kMillisecond);

// The same file decoded at full size, for the ratio the DCT scaling buys.
void BM_FullDecode24Megapixels(benchmark::State& state) {
  const std::string path = largeJpeg();
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct decoder{};
    jpeg_error_mgr errors{};
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_stdio_src(&decoder, file);
    jpeg_read_header(&decoder, TRUE);
    decoder.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder);
    std::vector<std::uint8_t> row(std::size_t{decoder.output_width} * 3);
    while (decoder.output_scanline < decoder.output_height) {
      JSAMPROW rows[1] = {row.data()};
      jpeg_read_scanlines(&decoder, rows, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    std::fclose(file);
    benchmark::DoNotOptimize(row);
  }
}
BENCHMARK(BM_FullDecode24Megapixels)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tellurix::tagging {

struct PixelSize {
  int width = 0;
  int height = 0;

  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The preview area of the photo window.
inline constexpr PixelSize kPreviewBox{298, 222};

// A decoded picture, 8-bit RGB, rows top to bottom without padding.
struct PreviewImage {
  PixelSize size;
  std::vector<std::uint8_t> rgb;
};

struct PreviewResult {
  std::optional<PreviewImage> image;
  std::string error;  // why there is no image: the file cannot be opened or is no JPEG
};

// The largest size inside `box` with the image's proportions (rounded down, at least one
// pixel each way); an image that fits already keeps its size.
PixelSize fitWithin(PixelSize image, PixelSize box);

// The numerator M of the decoder's M/8 scaling for a `target` size: the smallest whose output
// is still at least the target each way, so the final resample only ever shrinks.
int dctScaleFor(PixelSize image, PixelSize target);

// Decodes the JPEG file at `path` scaled down to fit `box`. The decoder's DCT scaling does
// most of the shrinking, so a large photo is decoded at a fraction of its size; an area
// average makes the last step. Corrupt data the decoder can recover from (a truncated
// file) still gives a picture; anything else is an error, never an exit.
PreviewResult decodePreview(const std::string& path, PixelSize box = kPreviewBox);

}  // namespace tellurix::tagging

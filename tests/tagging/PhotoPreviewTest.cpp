#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "JpegWriter.h"
#include "support/TestFiles.h"
#include "tagging/PhotoPreview.h"

namespace tellurix::tagging {
namespace {

using fixtures::JpegKind;
using fixtures::Rgb;

struct FitCase {
  const char* name;
  PixelSize image;
  PixelSize fitted;
  int dctScale;  // of 8
};
void PrintTo(const FitCase& c, std::ostream* os) {
  *os << c.name;
}

class PreviewFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(PreviewFitTest, KeepsProportionsAndNeverEnlarges) {
  const PixelSize fitted = fitWithin(GetParam().image, kPreviewBox);
  EXPECT_EQ(fitted, GetParam().fitted);
  EXPECT_EQ(dctScaleFor(GetParam().image, fitted), GetParam().dctScale);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PreviewFitTest,
                         ::testing::Values(FitCase{"landscape_24_megapixels", {6000, 4000}, {298, 198}, 1},
                                           FitCase{"portrait", {4000, 6000}, {148, 222}, 1},
                                           FitCase{"just_too_wide_for_a_quarter", {1000, 700}, {298, 208}, 3},
                                           FitCase{"exactly_the_box", {298, 222}, {298, 222}, 8},
                                           FitCase{"small_is_not_enlarged", {100, 50}, {100, 50}, 8},
                                           FitCase{"one_side_too_long", {300, 10}, {298, 9}, 8},
                                           FitCase{"a_line_keeps_one_pixel", {10000, 1}, {298, 1}, 1},
                                           FitCase{"a_column_keeps_one_pixel", {1, 10000}, {1, 222}, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// Four quadrants: red, green / blue, white.
Rgb quadrants(int x, int y, int width, int height) {
  const bool right = x >= width / 2;
  const bool bottom = y >= height / 2;
  if (!bottom) return right ? Rgb{0, 200, 0} : Rgb{200, 0, 0};
  return right ? Rgb{255, 255, 255} : Rgb{0, 0, 200};
}

::testing::AssertionResult near(const PreviewImage& image, int x, int y, Rgb expected) {
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.size.width) +
                          static_cast<std::size_t>(x)) *
                         3;
  const int r = image.rgb[at];
  const int g = image.rgb[at + 1];
  const int b = image.rgb[at + 2];
  if (std::abs(r - expected.r) <= 24 && std::abs(g - expected.g) <= 24 && std::abs(b - expected.b) <= 24) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << r << "," << g << "," << b;
}

struct DecodeCase {
  const char* name;
  JpegKind kind;
  PixelSize image;
  PixelSize shown;
};
void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name;
}

class PreviewDecodeTest : public ::testing::TestWithParam<DecodeCase> {
 protected:
  testing::TempDir dir;
};

TEST_P(PreviewDecodeTest, ShowsThePictureScaledToFit) {
  const DecodeCase& c = GetParam();
  const std::string path = dir.file("photo.jpg");
  fixtures::writeJpeg(
      path, c.image.width, c.image.height,
      [&](int x, int y) { return quadrants(x, y, c.image.width, c.image.height); }, c.kind);
  const PreviewResult result = decodePreview(path);
  ASSERT_TRUE(result.image) << result.error;
  const PreviewImage& image = *result.image;
  ASSERT_EQ(image.size, c.shown);
  ASSERT_EQ(image.rgb.size(), static_cast<std::size_t>(c.shown.width * c.shown.height * 3));
  const int w = c.shown.width;
  const int h = c.shown.height;
  if (c.kind == JpegKind::Grey) {
    EXPECT_TRUE(near(image, w / 4, h / 4, {67, 67, 67}));
    EXPECT_TRUE(near(image, 3 * w / 4, 3 * h / 4, {255, 255, 255}));
    return;
  }
  EXPECT_TRUE(near(image, w / 4, h / 4, {200, 0, 0}));
  EXPECT_TRUE(near(image, 3 * w / 4, h / 4, {0, 200, 0}));
  EXPECT_TRUE(near(image, w / 4, 3 * h / 4, {0, 0, 200}));
  EXPECT_TRUE(near(image, 3 * w / 4, 3 * h / 4, {255, 255, 255}));
}

INSTANTIATE_TEST_SUITE_P(
    Files, PreviewDecodeTest,
    ::testing::Values(DecodeCase{"large_landscape", JpegKind::Baseline, {2400, 1600}, {298, 198}},
                      DecodeCase{"portrait", JpegKind::Baseline, {600, 900}, {148, 222}},
                      DecodeCase{"progressive", JpegKind::Progressive, {1000, 700}, {298, 208}},
                      DecodeCase{"small_is_not_enlarged", JpegKind::Baseline, {120, 80}, {120, 80}},
                      DecodeCase{"grey", JpegKind::Grey, {800, 600}, {296, 222}},
                      DecodeCase{"adobe_cmyk", JpegKind::AdobeCmyk, {640, 480}, {296, 222}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreviewFailure, FilesThatAreNoPictureAreReportedNotFatal) {
  testing::TempDir dir;
  testing::writeFile(dir.path() / "notes.jpg", "not a picture at all");
  testing::writeFile(dir.path() / "empty.jpg", "");
  for (const std::string name : {"notes.jpg", "empty.jpg", "missing.jpg"}) {
    const PreviewResult result = decodePreview(dir.file(name));
    EXPECT_FALSE(result.image) << name;
    EXPECT_NE(result.error.find(name), std::string::npos) << result.error;
  }
}

TEST(PreviewFailure, AForgedGiantProgressivePictureIsRefusedNotAllocated) {
  testing::TempDir dir;
  const std::string path = dir.file("giant.jpg");
  fixtures::writeJpeg(
      path, 16, 16,
      [](int, int) {
        return Rgb{10, 20, 30};
      },
      JpegKind::Progressive);
  std::string bytes = testing::readFile(path);
  const std::size_t frame = bytes.find("\xFF\xC2");
  ASSERT_NE(frame, std::string::npos);
  bytes.replace(frame + 5, 4, "\xFD\xE8\xFD\xE8");  // 65000 x 65000: gigabytes of coefficients
  testing::writeFile(path, bytes);
  const PreviewResult result = decodePreview(path);
  EXPECT_FALSE(result.image);
  EXPECT_FALSE(result.error.empty());
}

TEST(PreviewFailure, ATruncatedPhotoStillShowsWhatItHolds) {
  testing::TempDir dir;
  const std::string path = dir.file("cut.jpg");
  fixtures::writeJpeg(path, 800, 600, [](int x, int y) { return quadrants(x, y, 800, 600); });
  const std::string bytes = testing::readFile(path);
  testing::writeFile(path, bytes.substr(0, bytes.size() / 2));
  const PreviewResult result = decodePreview(path);
  ASSERT_TRUE(result.image) << result.error;
  EXPECT_EQ(result.image->size, (PixelSize{296, 222}));
  EXPECT_TRUE(near(*result.image, 74, 55, {200, 0, 0}));  // the top half was in the file
}

}  // namespace
}  // namespace tellurix::tagging

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "ExifFixtures.h"
#include "GeotagFixtures.h"
#include "support/TestFiles.h"
#include "tagging/CaptureTime.h"
#include "tagging/PhotoGeotag.h"

namespace tellurix::tagging {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

tracklog::TrackPoint utcFix(double latitude, double longitude, float altitude) {
  tracklog::TrackPoint p;
  p.latitude = latitude;
  p.longitude = longitude;
  p.altitude = altitude;
  p.year = 2010;
  p.month = 9;
  p.day = 9;
  p.hour = 2;
  p.minute = 5;
  p.second = 3;
  return p;
}

bool haveExiftool() {
  return testing::runCommand("command -v exiftool").status == 0;
}

class PhotoGeotagTest : public ::testing::Test {
 protected:
  std::string photo(const std::string& name, const std::string& exifDate = "2010:09:09 10:05:03") const {
    const std::string path = dir.file(name);
    writeFile(path, fixtures::cameraJpeg(dir.file("scratch.jpg"), exifDate));
    return path;
  }
  // Only the photos the test wrote: a temporary file left beside them shows here.
  [[nodiscard]] std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempDir dir;
};

struct Hemisphere {
  const char* name;
  double latitude;
  double longitude;
  float altitude;
  const char* latitudeRef;
  const char* longitudeRef;
  int altitudeRef;
};
void PrintTo(const Hemisphere& c, std::ostream* os) {
  *os << c.name;
}

class PhotoGeotagHemisphereTest : public PhotoGeotagTest, public ::testing::WithParamInterface<Hemisphere> {};

// Degrees with seven decimals and more, read back from the rationals within 1e-7 degree, with
// the sign in the reference and not in the value.
TEST_P(PhotoGeotagHemisphereTest, PositionAndUtcTimeReadBack) {
  const Hemisphere& c = GetParam();
  const std::string path = photo("a.jpg");
  ASSERT_EQ(writePhotoPosition(path, utcFix(c.latitude, c.longitude, c.altitude)), GeotagOutcome::Tagged);

  const auto back = fixtures::readBack(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->versionId, "2 2 0 0");
  EXPECT_EQ(back->latitudeRef, c.latitudeRef);
  EXPECT_EQ(back->longitudeRef, c.longitudeRef);
  EXPECT_NEAR(back->latitude, std::fabs(c.latitude), 1e-7);
  EXPECT_NEAR(back->longitude, std::fabs(c.longitude), 1e-7);
  EXPECT_TRUE(back->minutesAndSecondsInRange);
  EXPECT_EQ(back->altitudeRef, c.altitudeRef);
  EXPECT_NEAR(back->altitude, std::fabs(c.altitude), 0.01);
  EXPECT_EQ(back->timeStamp, "2 5 3");  // UTC, not the camera's local 10:05:03
  EXPECT_EQ(back->dateStamp, "2010:09:09");
  EXPECT_EQ(back->mapDatum, "WGS-84");

  if (!haveExiftool()) return;
  const auto tool = testing::runCommand(
      "exiftool -n -s3 -Composite:GPSLatitude -Composite:GPSLongitude "
      "-Composite:GPSAltitude " +
      testing::shellQuoted(path));
  ASSERT_EQ(tool.status, 0) << tool.err;
  std::istringstream values(tool.out);
  double latitude = 0;
  double longitude = 0;
  double altitude = 0;
  ASSERT_TRUE(values >> latitude >> longitude >> altitude) << tool.out;
  EXPECT_NEAR(latitude, c.latitude, 1e-7);
  EXPECT_NEAR(longitude, c.longitude, 1e-7);
  EXPECT_NEAR(altitude, c.altitude, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Hemispheres, PhotoGeotagHemisphereTest,
    ::testing::Values(Hemisphere{"north_east", 25.0330123, 121.5654321, 12, "N", "E", 0},
                      Hemisphere{"north_west", 40.7484405, -73.9856644, 443, "N", "W", 0},
                      Hemisphere{"south_east", -33.8567844, 151.2152967, 5, "S", "E", 0},
                      Hemisphere{"south_west", -22.9519173, -43.2104950, 700, "S", "W", 0},
                      Hemisphere{"below_sea_level", 31.5590001, 35.4731999, -430, "N", "E", 1},
                      // Seconds that round up to 60 carry into the minutes and degrees.
                      Hemisphere{"seconds_carry_into_degrees", 10.99999999999, -179.99999999999, 0, "N", "W",
                                 0},
                      Hemisphere{"equator_and_meridian", 0.0, 0.0, 0, "N", "E", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Only the GPS directory changes: the capture time, the camera's tags and every byte of the
// image data stay, and the capture-time reader still finds the date.
TEST_F(PhotoGeotagTest, KeepsTheCaptureTimeTheOtherTagsAndTheImageData) {
  const std::string path = photo("a.jpg", "2010:09:09 14:05:03");
  const std::string before = readFile(path);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_EQ(writePhotoPosition(path, utcFix(25.03, 121.56, 10)), GeotagOutcome::Tagged);

  const std::string after = readFile(path);
  EXPECT_NE(after, before);
  EXPECT_EQ(fixtures::imageData(after), fixtures::imageData(before));
  EXPECT_FALSE(fixtures::imageData(before).empty());
  const auto back = fixtures::readBack(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->dateTimeOriginal, "2010:09:09 14:05:03");
  EXPECT_EQ(back->make, "Cam");
  EXPECT_EQ(readCaptureTime(path), "2010/09/09 14:05:03");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(files(), std::vector<std::string>{"a.jpg"});
}

// A photo without Exif gets a new Exif block holding only the GPS directory; a photo tagged
// before takes the new position in place of the old one.
TEST_F(PhotoGeotagTest, APhotoWithoutExifOrWithAnEarlierPositionIsTagged) {
  const std::string plain = photo("plain.jpg", "");
  ASSERT_EQ(writePhotoPosition(plain, utcFix(25.03, 121.56, 10)), GeotagOutcome::Tagged);
  ASSERT_TRUE(fixtures::readBack(plain));
  EXPECT_EQ(readCaptureTime(plain), kNoExifDate);

  const std::string again = photo("again.jpg");
  ASSERT_EQ(writePhotoPosition(again, utcFix(25.03, 121.56, 10)), GeotagOutcome::Tagged);
  ASSERT_EQ(writePhotoPosition(again, utcFix(-1.5, -2.25, -3)), GeotagOutcome::Tagged);
  const auto back = fixtures::readBack(again);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->latitudeRef, "S");
  EXPECT_NEAR(back->latitude, 1.5, 1e-7);
  EXPECT_EQ(back->longitudeRef, "W");
  EXPECT_EQ(back->altitudeRef, 1);
  EXPECT_EQ(readCaptureTime(again), "2010/09/09 10:05:03");
}

// A copy that cannot take the position is reported and left byte for byte as it was, with no
// temporary file beside it.
struct Untaggable {
  const char* name;
  std::string (*bytes)(const std::string& scratch);  // of the file a.jpg
  bool readOnly;
  GeotagOutcome outcome;
};
void PrintTo(const Untaggable& c, std::ostream* os) {
  *os << c.name;
}

std::string cameraPhoto(const std::string& scratch) {
  return fixtures::cameraJpeg(scratch, "2010:09:09 10:05:03");
}

class PhotoGeotagUntaggableTest : public PhotoGeotagTest, public ::testing::WithParamInterface<Untaggable> {};

TEST_P(PhotoGeotagUntaggableTest, IsCountedAndLeftAsItWas) {
  const Untaggable& c = GetParam();
  const std::string bytes = c.bytes(dir.file("scratch.jpg"));
  const std::string path = dir.file("a.jpg");
  writeFile(path, bytes);
  if (c.readOnly)
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  EXPECT_EQ(writePhotoPosition(path, utcFix(25.03, 121.56, 10)), c.outcome);
  EXPECT_EQ(readFile(path), bytes);
  EXPECT_EQ(files(), std::vector<std::string>{"a.jpg"});
}

INSTANTIATE_TEST_SUITE_P(
    Copies, PhotoGeotagUntaggableTest,
    ::testing::Values(
        Untaggable{"read_only", cameraPhoto, true, GeotagOutcome::ReadOnly},
        Untaggable{"no_room_in_the_exif_segment",
                   [](const std::string& scratch) { return fixtures::fullExifJpeg(scratch); }, false,
                   GeotagOutcome::NotWritten},
        Untaggable{"empty_file", [](const std::string&) { return std::string(); }, false,
                   GeotagOutcome::Unreadable},
        Untaggable{"png",
                   [](const std::string&) {
                     return std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + std::string(64, '\0');
                   },
                   false, GeotagOutcome::NotJpeg},
        Untaggable{"text", [](const std::string&) { return std::string("not a photo at all\n"); }, false,
                   GeotagOutcome::NotJpeg},
        // The Exif segment ends in the middle of its directory.
        Untaggable{"cut_exif", [](const std::string&) { return fixtures::exifJpeg().substr(0, 40); }, false,
                   GeotagOutcome::Unreadable}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PhotoGeotagTest, AMissingCopyOrAFolderIsUnreadable) {
  EXPECT_EQ(writePhotoPosition(dir.file("gone.jpg"), utcFix(1, 2, 3)), GeotagOutcome::Unreadable);
  fs::create_directory(dir.path() / "folder.jpg");
  EXPECT_EQ(writePhotoPosition(dir.file("folder.jpg"), utcFix(1, 2, 3)), GeotagOutcome::Unreadable);
}

}  // namespace
}  // namespace tellurix::tagging

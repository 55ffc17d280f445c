#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ExifFixtures.h"
#include "GeotagFixtures.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"

namespace tellurix {
namespace {

namespace fs = std::filesystem;
using testing::shellQuoted;

// Ten fixes a second apart from 10:00:00 Taipei time, 100 m apart, and a camera folder.
class CliPhotoPathTest : public ::testing::Test {
 protected:
  CliPhotoPathTest() {
    testing::writeLog(
        dir.file("LOGDATA.BIN"),
        testing::straightDrive(testing::fix(25.0, 121.5, 36, 2010, 9, 9, 2, 0, 0), 10, 100, 36));
    fs::create_directories(dir.path() / "camera");
  }

  std::string photo(const std::string& name, const std::string& exifDate) const {
    tagging::fixtures::ExifLayout layout;
    layout.date = exifDate;
    const std::string path = dir.file("camera/" + name);
    testing::writeFile(path, tagging::fixtures::exifJpeg(layout));
    return shellQuoted(path);
  }

  // A real camera JPEG, which can take a position.
  std::string cameraPhoto(const std::string& name, const std::string& exifDate) const {
    const std::string path = dir.file("camera/" + name);
    testing::writeFile(path, tagging::fixtures::cameraJpeg(dir.file("scratch.jpg"), exifDate));
    return path;
  }
  [[nodiscard]] std::string copyOf(const std::string& name) const {
    return (dir.path() / "out/2010-09-09/photo" / name).string();
  }

  testing::CommandResult photoPath(const std::string& more,
                                   const std::string& end = "2010/9/9 10:0:9") const {
    return testing::runCommand(testing::toolCommand("tools/cli/tellurix-cli") + " photo-path --log " +
                               shellQuoted(dir.file("LOGDATA.BIN")) + " --out " +
                               shellQuoted(dir.file("out/day")) + " --zone '(GMT+08:00) Taipei' --start " +
                               shellQuoted("2010/9/9 10:0:0") + " --end " + shellQuoted(end) + " " + more);
  }

  [[nodiscard]] fs::path pathFile() const {
    return dir.path() / "out/2010-09-09/photo_trip-2010-09-09_point.kml";
  }

  testing::TempDir dir;
};

TEST_F(CliPhotoPathTest, LoadsAdjustsMakesThePathAndPrintsTheList) {
  const auto result = photoPath("--photo " + photo("b.jpg", "2010:09:09 10:00:04") + " --photo " +
                                photo("a.jpg", "2010:09:09 10:00:01") + " --photo " +
                                photo("late.jpg", "2010:09:09 10:00:08") + " --adjust '0 0 0 2'");
  ASSERT_EQ(result.status, 0) << result.err;
  // By date, each two seconds later than the camera wrote it: points 3 and 6. Point 9, the
  // last, is never compared.
  EXPECT_EQ(result.out,
            "a.jpg\t2010/09/09 10:00:03\t(25.002713)\t(121.500000)\n"
            "b.jpg\t2010/09/09 10:00:06\t(25.005426)\t(121.500000)\n"
            "late.jpg\t2010/09/09 10:00:10\t\t\n");
  const std::string kml = testing::readFile(pathFile());
  EXPECT_NE(kml.find("<name>a.jpg</name>"), std::string::npos);
  EXPECT_EQ(kml.find("<name>late.jpg</name>"), std::string::npos);
  EXPECT_EQ(testing::runCommand("xmllint --noout " + shellQuoted(pathFile().string())).status, 0);
  EXPECT_TRUE(fs::exists(dir.path() / "out/2010-09-09/photo/a.jpg"));
}

// A file where the photo folder belongs: no photo can be copied, the first ends the load, and
// the path is made without it.
TEST_F(CliPhotoPathTest, APhotoFolderThatCannotBeMadeEndsWithTheNotice) {
  fs::create_directories(dir.path() / "out/2010-09-09");
  testing::writeFile(dir.path() / "out/2010-09-09/photo", "not a folder");
  const auto result = photoPath("--photo " + photo("a.jpg", "2010:09:09 10:00:01"));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("Notice: File not found"), std::string::npos) << result.err;
  EXPECT_EQ(testing::readFile(pathFile()).find("a.jpg"), std::string::npos);
  EXPECT_EQ(testing::readFile(dir.path() / "out/2010-09-09/photo"), "not a folder");
}

struct FailureCase {
  const char* name;
  std::string args;  // after the report options
  std::string end;   // of the report window
  int status;
  std::string out;
  std::string errPart;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class CliPhotoPathFailureTest : public CliPhotoPathTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CliPhotoPathFailureTest, EndsWithItsStatus) {
  const FailureCase& c = GetParam();
  // @a: a photo at 10:00:01, @b: one whose seconds are no number, @missing: no file at all.
  const std::pair<std::string, std::string> files[] = {
      {"@a", photo("a.jpg", "2010:09:09 10:00:01")},
      {"@b", photo("b.jpg", "2010:09:09 10:00:0x")},
      {"@missing", shellQuoted(dir.file("camera/missing.jpg"))}};
  std::string args = c.args;
  for (const auto& [token, path] : files) {
    if (const auto at = args.find(token); at != std::string::npos) args.replace(at, token.size(), path);
  }
  const auto result = photoPath(args, c.end);
  EXPECT_EQ(result.status, c.status) << result.err;
  EXPECT_EQ(result.out, c.out);
  EXPECT_NE(result.err.find(c.errPart), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CliPhotoPathFailureTest,
    ::testing::Values(
        FailureCase{"report_refused", "--photo @a", "2010/9/9 9:0:0", 2, "", "End Time"},
        FailureCase{"photo_not_found", "--photo @a --photo @missing --photo @b", "2010/9/9 10:0:9", 1,
                    "a.jpg\t2010/09/09 10:00:01\t(25.000904)\t(121.500000)\n", "Notice: File not found"},
        FailureCase{"date_that_is_no_number", "--photo @b", "2010/9/9 10:0:9", 2, "",
                    "Conversion error: '2010090910000x' is not a valid integer value"},
        FailureCase{"offset_that_is_no_number", "--photo @a --adjust '0 1h 0 0'", "2010/9/9 10:0:9", 2, "",
                    "Conversion error: '1h' is not a valid integer value"},
        FailureCase{"offset_of_two_fields", "--photo @a --adjust '1 2'", "2010/9/9 10:0:9", 64, "",
                    "--adjust takes"},
        FailureCase{"no_photo", "", "2010/9/9 10:0:9", 64, "", "photo-path takes one --photo FILE or more"}),
    [](const auto& info) { return std::string(info.param.name); });

// The placed photos' copies take their positions; the photo later than the walk keeps its copy
// as loaded, and a copy that cannot take it (its Exif segment has no room left) is named on
// stderr without changing the exit status.
TEST_F(CliPhotoPathTest, WritesThePositionsIntoThePlacedCopies) {
  const std::string a = cameraPhoto("a.jpg", "2010:09:09 10:00:01");
  const std::string late = cameraPhoto("late.jpg", "2010:09:09 10:00:09");
  const std::string locked = dir.file("camera/locked.jpg");
  testing::writeFile(locked, tagging::fixtures::fullExifJpeg(dir.file("scratch.jpg"), "2010:09:09 10:00:04"));
  const std::string originals[] = {testing::readFile(a), testing::readFile(late), testing::readFile(locked)};

  const auto result = photoPath("--photo " + shellQuoted(a) + " --photo " + shellQuoted(late) + " --photo " +
                                shellQuoted(locked));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("Notice: locked.jpg: position not written into the photo copy"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.err.find("a.jpg"), std::string::npos) << result.err;
  const auto back = tagging::fixtures::readBack(copyOf("a.jpg"));
  ASSERT_TRUE(back);
  EXPECT_NEAR(back->latitude, 25.000904, 6e-7);  // point 1, as the list shows it
  EXPECT_EQ(back->latitudeRef, "N");
  EXPECT_EQ(back->timeStamp, "2 0 1");
  EXPECT_EQ(testing::readFile(copyOf("late.jpg")), originals[1]);
  EXPECT_EQ(testing::readFile(copyOf("locked.jpg")), originals[2]);
  EXPECT_EQ(testing::readFile(a), originals[0]);
  EXPECT_EQ(testing::readFile(locked), originals[2]);
}

TEST_F(CliPhotoPathTest, NoExifLeavesTheCopiesAsLoaded) {
  const std::string a = cameraPhoto("a.jpg", "2010:09:09 10:00:01");
  const std::string b = cameraPhoto("b.jpg", "2010:09:09 10:00:04");
  const auto result = photoPath("--no-exif --photo " + shellQuoted(a) + " --photo " + shellQuoted(b));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(testing::readFile(copyOf("a.jpg")), testing::readFile(a));
  EXPECT_EQ(testing::readFile(copyOf("b.jpg")), testing::readFile(b));
  EXPECT_NE(testing::readFile(pathFile()).find("<name>b.jpg</name>"), std::string::npos);
}

}  // namespace
}  // namespace tellurix

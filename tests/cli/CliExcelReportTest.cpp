#include <gtest/gtest.h>

#include <filesystem>

#include "support/LogBuilder.h"
#include "support/TestFiles.h"

namespace tellurix {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using testing::shellQuoted;

class CliExcelReportTest : public ::testing::Test {
 protected:
  CliExcelReportTest() {
    // A drive, a 15-minute stop, and on.
    std::vector<tracklog::TrackPoint> points =
        testing::straightDrive(fix(25, 121, 40, 2010, 9, 9, 8, 0, 0), 60, 11, 40);
    const auto stay = testing::straightDrive(fix(25.006, 121, 0, 2010, 9, 9, 8, 1, 0), 900, 0, 0);
    points.insert(points.end(), stay.begin(), stay.end());
    const auto on = testing::straightDrive(fix(25.008, 121, 50, 2010, 9, 9, 8, 16, 0), 60, 14, 50);
    points.insert(points.end(), on.begin(), on.end());
    testing::writeLog(dir.file("LOGDATA.BIN"), points);
  }

  testing::CommandResult report(const std::string& start, const std::string& more) const {
    return testing::runCommand(testing::toolCommand("tools/cli/tellurix-cli") + " report --log " +
                               shellQuoted(dir.file("LOGDATA.BIN")) + " --out " +
                               shellQuoted(dir.file("out/day")) + " --start " + shellQuoted(start) +
                               " --end '2010/9/10 0:0:0' " + more);
  }

  [[nodiscard]] fs::path folder() const { return dir.path() / "out/2010-09-09"; }

  testing::TempDir dir;
};

TEST_F(CliExcelReportTest, WritesTheReportTextAndTheCsvTable) {
  const auto result = report("2010/9/9 0:0:0", "--excel --user-id GT-120");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> text = testing::crlfLines(testing::readFile(folder() / "day-report.txt"));
  ASSERT_GT(text.size(), 20U);
  EXPECT_EQ(text[0], "GT-120");
  EXPECT_EQ(text[3], "      from 2010-09-09 08:00:00 to 2010-09-09 08:16:59");
  EXPECT_NE(std::find(text.begin(), text.end(), "     stop for: 00 days 00 hours 15 minutes 00 seconds"),
            text.end());
  EXPECT_EQ(text.back(), std::string(62, '-'));

  const std::vector<std::string> csv = testing::crlfLines(testing::readFile(folder() / "day-1.csv"));
  ASSERT_EQ(csv.size(), 1U + 60 + 900 + 60);
  EXPECT_EQ(csv[1].substr(0, 20), "2010,09,09,08,00,00,");
  EXPECT_FALSE(fs::exists(folder() / "day-2.csv"));
}

TEST_F(CliExcelReportTest, WithoutTheOptionThereIsNoCsvTable) {
  ASSERT_EQ(report("2010/9/9 0:0:0", "").status, 0);
  EXPECT_TRUE(fs::exists(folder() / "day-report.txt"));
  EXPECT_FALSE(fs::exists(folder() / "day-1.csv"));
}

TEST_F(CliExcelReportTest, NoPointSelectedWritesNoCsvTable) {
  EXPECT_EQ(report("2010/9/9 9:0:0", "--excel").status, 3);
  EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

}  // namespace
}  // namespace tellurix

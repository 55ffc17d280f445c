#include <gtest/gtest.h>

#include <filesystem>

#include "support/LogBuilder.h"
#include "support/TestFiles.h"

namespace tellurix {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using testing::shellQuoted;

class CliReportTest : public ::testing::Test {
 protected:
  CliReportTest() {
    testing::writeLog(dir.file("LOGDATA.BIN"),
                      {fix(25.5, 121.25, 0, 2010, 9, 9, 23, 59, 58),
                       fix(25.5 + 1.0 / 1024, 121.25, 100, 2010, 9, 9, 23, 59, 59),
                       fix(-12.75, -45.125, 36, 2010, 9, 10, 0, 0, 0),
                       fix(-12.75, -45.125, 2047, 2010, 9, 10, 0, 0, 1), fix(1, 1, 1, 2010, 9, 11, 0, 0, 0)});
  }

  testing::CommandResult cli(const std::string& args) const {
    return testing::runCommand(testing::toolCommand("tools/cli/tellurix-cli") + " " + args);
  }

  testing::CommandResult report(const std::string& start, const std::string& end,
                                const std::string& more = "") {
    return cli("report --log " + shellQuoted(dir.file("LOGDATA.BIN")) + " --out " +
               shellQuoted(dir.file("out/day")) + " --start " + shellQuoted(start) + " --end " +
               shellQuoted(end) + " " + more);
  }

  testing::TempDir dir;
};

TEST_F(CliReportTest, WritesTheRmcTrackOfTheSelectedPoints) {
  const auto result = report("2010/9/9 23:59:58", "2010/9/10 0:0:1");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Report Done\n");
  // Derived by hand: 25.5° is 25°30', 2^-10° is 0.0586', 100 km/h is 54.0 kn, 2047 km/h 1105.4 kn.
  const std::vector<std::string> expected{
      "$GPRMC,235958.000,A,2530.0000,N,12115.0000,E,000.0,000.0,090910,,,A*6D",
      "$GPRMC,235959.000,A,2530.0586,N,12115.0000,E,054.0,000.0,090910,,,A*66",
      "$GPRMC,000000.000,A,1245.0000,S,04507.5000,W,019.4,000.0,100910,,,A*65",
      "$GPRMC,000001.000,A,1245.0000,S,04507.5000,W,1105.4,000.0,100910,,,A*59",
  };
  EXPECT_EQ(testing::crlfLines(testing::readFile(dir.path() / "out/2010-09-09/day-rmc.txt")), expected);
  EXPECT_TRUE(fs::exists(dir.path() / "out/2010-09-09/day-report.txt"));
  EXPECT_TRUE(fs::exists(dir.path() / "out/2010-09-09/trip-2010-09-09_point.kml"));
  EXPECT_FALSE(fs::exists(dir.path() / "Tellurix.ini"));
}

TEST_F(CliReportTest, UserIdAndZoneNameTheFiles) {
  const auto result =
      report("2010/9/10 0:0:0", "2010/9/10 23:0:0", "--zone '(GMT-05:00) Eastern Time' --user-id A/B");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::exists(dir.path() / "out/2010-09-10/trip-A_B-2010-09-10_point.kml"));
  EXPECT_TRUE(fs::exists(dir.path() / "out/2010-09-10/trip-A_B-2010-09-10.kml"));
}

TEST_F(CliReportTest, WritesTheGpxTrackBesideTheReport) {
  const auto result = report("2010/9/9 23:59:58", "2010/9/10 0:0:1");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const fs::path gpx = dir.path() / "out/2010-09-09/day-track.gpx";
  const auto lint = testing::runCommand("xmllint --noout " + shellQuoted(gpx.string()));
  EXPECT_EQ(lint.status, 0) << lint.err;
  const std::string text = testing::readFile(gpx);
  std::size_t points = 0;
  for (auto at = text.find("<trkpt "); at != std::string::npos; at = text.find("<trkpt ", at + 1)) ++points;
  EXPECT_EQ(points, 4U);
  EXPECT_NE(text.find(R"(<trkpt lat="-12.750000000" lon="-45.125000000">)"), std::string::npos) << text;
  EXPECT_NE(text.find("<time>2010-09-10T00:00:01Z</time>"), std::string::npos) << text;
}

struct ExitCase {
  const char* name;
  const char* start;
  const char* end;
  const char* more;
  int status;
  const char* err;
};
void PrintTo(const ExitCase& c, std::ostream* os) {
  *os << c.name;
}

class CliExitTest : public CliReportTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(CliExitTest, ReportsEveryOutcomeWithItsStatusAndMessage) {
  const ExitCase& c = GetParam();
  const auto result = report(c.start, c.end, c.more);
  EXPECT_EQ(result.status, c.status);
  EXPECT_EQ(result.err, c.err);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, CliExitTest,
    ::testing::Values(
        ExitCase{"no_match", "2011/1/1 0:0:0", "2011/1/2 0:0:0", "", 3, "No Match Record !\n"},
        ExitCase{"validation", "2010/13/1 0:0:0", "2011/1/2 0:0:0", "", 2,
                 "Date Error: The Month from 1 To 12\n"},
        ExitCase{"not_a_number", "2010/9/x 0:0:0", "2011/1/2 0:0:0", "", 2, "Input Error: Invalid Value\n"},
        ExitCase{"missing_fields", "2010/9/9", "2011/1/2 0:0:0", "", 2, "Input Error: Invalid Value\n"},
        ExitCase{"window_order", "2010/9/9 0:0:0", "2010/9/9 0:0:0", "", 2,
                 "Input Error: Invalid Setting:The \" End Time\" earlier or equal than\" Start Time\".\n"},
        ExitCase{"year_conversion", "20l0/9/9 0:0:0", "2011/1/2 0:0:0", "", 2,
                 "Conversion error: '20l0' is not a valid integer value\n"},
        ExitCase{"stop_period_conversion", "2010/9/9 0:0:0", "2011/1/2 0:0:0", "--stop-period ten", 2,
                 "Conversion error: 'ten' is not a valid integer value\n"},
        ExitCase{"empty_stop_period", "2010/9/9 0:0:0", "2011/1/2 0:0:0", "--stop-period ' '", 2,
                 "Empty Data: Please input time period.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliReportTest, AnEmptyLogIsNotAReport) {
  testing::writeFile(dir.file("LOGDATA.BIN"), std::string(15, '\0'));
  const auto result = report("2010/9/9 0:0:0", "2010/9/10 0:0:0");
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "Empty Data: Empty. No report was generated.\n");
}

TEST_F(CliReportTest, AnUnwritableReportFolderIsFatal) {
  testing::writeFile(dir.file("out"), "");
  const auto result = report("2010/9/9 0:0:0", "2010/9/10 0:0:0");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Report_File file read open error\n");
}

TEST_F(CliReportTest, DecodePrintsEveryCompleteRecord) {
  testing::writeFile(dir.file("two.bin"),
                     std::string("\x0c\x84\x56\xd6\x3c\xc8\x41\x89\x00\x0c\x07\x25\x01\x52\x97\x8f", 16) +
                         std::string("\xd0\xed\xab\x9f\xa3\x52\xfb\x7f\x80\x05\x00\x17\x01\x79\xfe\xfb", 16) +
                         "x");
  const auto result = cli("decode " + shellQuoted(dir.file("two.bin")));
  ASSERT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "0 25.033900023 121.564499974 12 57 2010-09-09 05:30:15\n"
            "1 -33.856799960 -70.648300052 -5 0 2011-12-31 23:59:59\n");
}

TEST_F(CliReportTest, UnknownOptionsAreAUsageError) {
  EXPECT_EQ(cli("report --bogus 1").status, 64);
  EXPECT_EQ(cli("frobnicate").status, 64);
}

}  // namespace
}  // namespace tellurix

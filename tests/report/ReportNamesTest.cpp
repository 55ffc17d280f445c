#include <gtest/gtest.h>

#include "report/ReportNames.h"

namespace tellurix::report {
namespace {

TEST(ReportNamesTest, FolderIsTheChosenFolderPlusTheWindowStartDate) {
  EXPECT_EQ(reportFolderFor("/home/ana/trips/monday", {2010, 9, 8, 0, 0, 0}), "/home/ana/trips/2010-09-08/");
  EXPECT_EQ(reportFolderFor("monday", {2010, 9, 8, 0, 0, 0}), "2010-09-08/");
  EXPECT_EQ(reportFolderFor("/t/x", {12, 1, 2, 0, 0, 0}), "/t/0012-01-02/");
}

TEST(ReportNamesTest, BaseNameKeepsItsExtension) {
  EXPECT_EQ(reportBaseNameFor("/home/ana/trips/monday.txt"), "monday.txt");
  EXPECT_EQ(reportBaseNameFor("monday"), "monday");
}

struct TripNameCase {
  const char* name;
  const char* userId;
  const char* pointName;
  const char* pathName;
};
void PrintTo(const TripNameCase& c, std::ostream* os) {
  *os << c.name;
}

class TripNameTest : public ::testing::TestWithParam<TripNameCase> {};

TEST_P(TripNameTest, NamesTheTripFiles) {
  const tracklog::CalendarTime first{2010, 9, 9, 5, 40, 0};
  EXPECT_EQ(pointKmlNameFor(GetParam().userId, first), GetParam().pointName);
  EXPECT_EQ(pathKmlNameFor(GetParam().userId, first), GetParam().pathName);
}

INSTANTIATE_TEST_SUITE_P(
    UserIds, TripNameTest,
    ::testing::Values(TripNameCase{"no_user_id", "", "trip-2010-09-09_point.kml", "trip-2010-09-09.kml"},
                      TripNameCase{"user_id", "ABC123", "trip-ABC123-2010-09-09_point.kml",
                                   "trip-ABC123-2010-09-09.kml"},
                      // A logger-supplied id must not lead outside the report folder.
                      TripNameCase{"separators_and_control_bytes", "../a\\b\x01",
                                   "trip-.._a_b_-2010-09-09_point.kml", "trip-.._a_b_-2010-09-09.kml"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportNamesTest, FileNameSafeKeepsOrdinaryTextUnchanged) {
  EXPECT_EQ(fileNameSafe("Fleet 7 · Ana"), "Fleet 7 · Ana");
  EXPECT_EQ(fileNameSafe("a/b"), "a_b");
}

}  // namespace
}  // namespace tellurix::report

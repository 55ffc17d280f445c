#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TaggingFixtures.h"
#include "tagging/PhotoList.h"
#include "tagging/PhotoPosition.h"
#include "tracklog/Errors.h"

namespace tellurix::tagging {
namespace {

struct CompareCase {
  const char* name;
  std::string a;
  std::string b;
  int order;  // sign of the comparison
};
void PrintTo(const CompareCase& c, std::ostream* os) {
  *os << c.name;
}

class PhotoCompareTest : public ::testing::TestWithParam<CompareCase> {};

int sign(int v) {
  return (v > 0) - (v < 0);
}

TEST_P(PhotoCompareTest, OrdersTexts) {
  EXPECT_EQ(sign(lsvPhotoCompare(GetParam().a, GetParam().b)), GetParam().order);
  EXPECT_EQ(sign(lsvPhotoCompare(GetParam().b, GetParam().a)), -GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PhotoCompareTest,
    ::testing::Values(CompareCase{"letter_case_is_ignored", "img_0001.jpg", "IMG_0001.JPG", 0},
                      CompareCase{"a_prefix_sorts_first", "IMG", "IMG_1", -1},
                      CompareCase{"empty_sorts_first", "", "(25.033012)", -1},
                      // Letters count as capitals, so they come before '_' (0x5F), not after it.
                      CompareCase{"letters_count_as_capitals", "a.jpg", "_.jpg", -1},
                      CompareCase{"high_bytes_after_letters", "\xE9t\xE9.jpg", "zoo.jpg", 1},
                      CompareCase{"numbers_as_text", "(121.565432)", "(25.033012)", -1},
                      CompareCase{"dates_in_time_order", "2010/09/09 09:00:00", "2010/09/09 14:05:03", -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct SortCase {
  const char* name;
  PhotoColumn column;
  std::vector<PhotoEntry> rows;
  std::vector<std::string> namesInOrder;
};
void PrintTo(const SortCase& c, std::ostream* os) {
  *os << c.name;
}

class PhotoSortTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(PhotoSortTest, SortsAscendingByTheColumn) {
  PhotoList list;
  for (const PhotoEntry& row : GetParam().rows) {
    list.append(row.name, row.date);
    list.setPosition(list.size() - 1, row.latitude.empty()
                                          ? std::nullopt
                                          : std::optional<PhotoPosition>({row.latitude, row.longitude}));
  }
  list.sortBy(GetParam().column);
  list.sortBy(GetParam().column);  // a second click sorts ascending again
  std::vector<std::string> names;
  for (const PhotoEntry& row : list.rows()) names.push_back(row.name);
  EXPECT_EQ(names, GetParam().namesInOrder);
  EXPECT_EQ(list.sortColumn(), GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, PhotoSortTest,
    ::testing::Values(
        SortCase{"date",
                 PhotoColumn::Date,
                 {{"a", "2010/09/09 14:05:03", "", ""},
                  {"b", "2010/09/09 09:00:00", "", ""},
                  {"c", "2000/01/01 10:10:10", "", ""}},
                 {"c", "b", "a"}},
        SortCase{"latitude_as_text",
                 PhotoColumn::Latitude,
                 {{"taipei", "", "25.033012", "121.565432"},
                  {"none", "", "", ""},
                  {"east", "", "121.565432", "25.033012"}},
                 {"none", "east", "taipei"}},
        SortCase{"longitude",
                 PhotoColumn::Longitude,
                 {{"taipei", "", "25.033012", "121.565432"}, {"east", "", "121.565432", "25.033012"}},
                 {"taipei", "east"}},
        SortCase{
            "name_ignoring_case",
            PhotoColumn::Name,
            {{"b.jpg", "", "", ""}, {"a2.jpg", "", "", ""}, {"A.jpg", "", "", ""}, {"_x.jpg", "", "", ""}},
            {"A.jpg", "a2.jpg", "b.jpg", "_x.jpg"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PhotoList, ShowsPositionsInBrackets) {
  PhotoList list;
  list.append("a.jpg", "2010/09/09 14:05:03");
  list.setPosition(0, PhotoPosition{"25.033012", "-121.565432"});
  EXPECT_EQ(list.row(0), (PhotoEntry{"a.jpg", "2010/09/09 14:05:03", "(25.033012)", "(-121.565432)"}));
  list.setPosition(0, std::nullopt);
  EXPECT_EQ(list.row(0), (PhotoEntry{"a.jpg", "2010/09/09 14:05:03", "", ""}));
  EXPECT_TRUE(list.contains("a.jpg"));
  EXPECT_FALSE(list.contains("A.jpg"));  // names are keys compared with their case
}

struct LookupCase {
  const char* name;
  std::string date;
  std::optional<PhotoPosition> position;
};
void PrintTo(const LookupCase& c, std::ostream* os) {
  *os << c.name;
}

// Points 0 to 3 at 10:00:00, 10:00:10, 10:00:20, 10:00:30 local time.
class PhotoLookupTest : public ::testing::TestWithParam<LookupCase> {
 protected:
  PhotoLookupTest() {
    fixtures::fillTrack(
        store, {"2010/09/09 10:00:00", "2010/09/09 10:00:10", "2010/09/09 10:00:20", "2010/09/09 10:00:30"});
  }
  tracklog::TrackStore store;
  fixtures::RecordingTaggingUi ui;
};

PhotoPosition point(int i) {
  char lat[32];
  char lon[32];
  std::snprintf(lat, sizeof lat, "%.6f", 25 + i / 1000.0);
  std::snprintf(lon, sizeof lon, "%.6f", -121 - i / 1000.0);
  return {lat, lon};
}

TEST_P(PhotoLookupTest, FindsTheFirstPointAtOrAfterThePhoto) {
  EXPECT_EQ(lookupPhotoPosition(GetParam().date, store, ui), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, PhotoLookupTest,
    ::testing::Values(LookupCase{"equal_to_the_first_point", "2010/09/09 10:00:00", point(0)},
                      LookupCase{"one_second_later_goes_to_the_next", "2010/09/09 10:00:01", point(1)},
                      LookupCase{"equal_to_a_point", "2010/09/09 10:00:20", point(2)},
                      LookupCase{"later_than_the_second_last_point", "2010/09/09 10:00:21", std::nullopt},
                      LookupCase{"the_last_point_is_never_compared", "2010/09/09 10:00:30", std::nullopt},
                      LookupCase{"older_than_the_track", "2000/01/01 10:10:10", std::nullopt},
                      // Compared with report time, not UTC (eight hours earlier).
                      LookupCase{"utc_time_of_a_point", "2010/09/09 02:00:10", std::nullopt},
                      LookupCase{"fields_are_cut_by_position", "2010-09-09T10:00:10", point(1)},
                      LookupCase{"a_blank_camera_date", "    /  /           ", std::nullopt},
                      LookupCase{"an_empty_date", "", std::nullopt},
                      LookupCase{"a_short_key_compares_as_it_stands", "2010/09/09", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PhotoLookupTest, SomeButNotAllFieldsNumericIsAConversionError) {
  EXPECT_THROW(lookupPhotoPosition("2010/09/09 1a:00:00", store, ui), tracklog::ConversionError);
  EXPECT_THROW(lookupPhotoPosition("2010/09/09 10:00:1 ", store, ui), tracklog::ConversionError);
}

TEST_F(PhotoLookupTest, TracksOfFewerThanTwoPointsGiveNoPosition) {
  store.pointCount = 1;
  EXPECT_EQ(lookupPhotoPosition("2010/09/09 10:00:00", store, ui), std::nullopt);
  store.pointCount = 0;
  EXPECT_EQ(lookupPhotoPosition("2010/09/09 10:00:00", store, ui), std::nullopt);
}

}  // namespace
}  // namespace tellurix::tagging

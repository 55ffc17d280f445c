#include <gtest/gtest.h>

#include "shellcore/FilterFill.h"
#include "tracklog/Errors.h"

namespace tellurix::shellcore {
namespace {

struct FillCase {
  const char* name;
  tracklog::ZoneOffset offset;
  logger::LogTime start;
  FilterTexts expected;  // only the start half is compared
};
void PrintTo(const FillCase& c, std::ostream* os) {
  *os << c.name;
}

class FilterFromLog : public ::testing::TestWithParam<FillCase> {};

TEST_P(FilterFromLog, ShiftsTheLogStartIntoTheZone) {
  const FillCase& c = GetParam();
  const logger::LogTime end{"2011", " 1", " 1", " 0", " 0", " 0"};
  const FilterTexts filter = filterTextsFromLog(c.offset, c.start, end);
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(filter[i], c.expected[i]) << "field " << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, FilterFromLog,
                         ::testing::Values(FillCase{"taipei_crosses_midnight",
                                                    {8, 0},
                                                    {"2010", " 9", " 9", "20", "30", "45"},
                                                    {"2010", "9", "10", "4", "30", "45"}},
                                           FillCase{"padded_second_loses_its_blank",
                                                    {8, 0},
                                                    {"2010", " 9", " 9", " 2", " 0", " 5"},
                                                    {"2010", "9", "9", "10", "0", "5"}},
                                           FillCase{"half_hour_zone_carries_the_minute",
                                                    {5, 30},
                                                    {"2010", " 9", " 9", "23", "45", "10"},
                                                    {"2010", "9", "10", "5", "15", "10"}},
                                           FillCase{"west_of_greenwich_borrows_into_february_of_a_leap_year",
                                                    {-3, -30},
                                                    {"2012", " 3", " 1", " 0", "10", " 0"},
                                                    {"2012", "2", "29", "20", "40", "0"}},
                                           FillCase{"new_year_west_goes_back_to_december",
                                                    {-5, 0},
                                                    {"2011", " 1", " 1", " 3", " 0", " 0"},
                                                    {"2010", "12", "31", "22", "0", "0"}},
                                           FillCase{"month_end_east_goes_to_the_next_month",
                                                    {8, 0},
                                                    {"2010", " 4", "30", "20", " 0", " 0"},
                                                    {"2010", "5", "1", "4", "0", "0"}},
                                           FillCase{"no_records_gives_the_empty_filter",
                                                    {-5, 0},
                                                    {"2000", " 0", " 0", " 0", " 0", " 0"},
                                                    emptyLogFilter()}),
                         [](const ::testing::TestParamInfo<FillCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(FilterFromLogTexts, TheEndHalfIsShiftedToAndANonNumberIsAConversionError) {
  const logger::LogTime start{"2010", " 9", " 9", " 0", "30", " 0"};
  const FilterTexts filter = filterTextsFromLog({8, 0}, start, {"2010", "12", "31", "18", "59", "59"});
  EXPECT_EQ(filter, (FilterTexts{"2010", "9", "9", "8", "30", "0", "2011", "1", "1", "2", "59", "59"}));
  EXPECT_THROW(filterTextsFromLog({8, 0}, start, {"2010", "1x", "31", "18", "59", "59"}),
               tracklog::ConversionError);
}

}  // namespace
}  // namespace tellurix::shellcore

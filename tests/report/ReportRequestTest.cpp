#include <gtest/gtest.h>

#include <map>

#include "report/ReportRequest.h"
#include "tracklog/Errors.h"

namespace tellurix::report {
namespace {

using tracklog::Field;

struct ValidationCase {
  const char* name;
  std::map<Field, std::string> texts;  // over a valid request from 2010/9/9 0:0:0 to 2010/9/10 0:0:0
  std::uint32_t receivedBytes;
  Refusal refusal;  // empty text: accepted
};
void PrintTo(const ValidationCase& c, std::ostream* os) {
  *os << c.name;
}

tracklog::FixedFields fieldsFor(const std::map<Field, std::string>& changes) {
  tracklog::FixedFields fields;
  const std::map<Field, std::string> valid{{Field::StartYear, "2010"}, {Field::StartMonth, "9"},
                                           {Field::StartDay, "9"},     {Field::EndYear, "2010"},
                                           {Field::EndMonth, "9"},     {Field::EndDay, "10"}};
  for (const auto& [field, text] : valid) fields.set(field, text);
  for (const auto& [field, text] : changes) fields.set(field, text);
  return fields;
}

class ValidationTest : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(ValidationTest, ChecksInOrderWithTheExactMessages) {
  const ValidationCase& c = GetParam();
  tracklog::FixedFields fields = fieldsFor(c.texts);
  const auto result = validateRequest(fields, c.receivedBytes);
  if (c.refusal.text.empty()) {
    EXPECT_TRUE(std::holds_alternative<ReportWindow>(result));
  } else {
    ASSERT_TRUE(std::holds_alternative<Refusal>(result));
    EXPECT_EQ(std::get<Refusal>(result), c.refusal);
  }
}

const Refusal kAccepted{};
const Refusal kInvalidValue{"Invalid Value", "Input Error"};

INSTANTIATE_TEST_SUITE_P(
    Fields, ValidationTest,
    ::testing::Values(
        ValidationCase{"valid", {}, 16, kAccepted},
        ValidationCase{"nothing_downloaded", {}, 0, {"Empty. No report was generated.", "Empty Data"}},
        ValidationCase{"nothing_downloaded_comes_first",
                       {{Field::StopPeriod, ""}, {Field::StartMonth, "13"}},
                       0,
                       {"Empty. No report was generated.", "Empty Data"}},
        ValidationCase{"stop_period_blank",
                       {{Field::StopPeriod, "  "}},
                       16,
                       {"Please input time period.", "Empty Data"}},
        ValidationCase{"over_speed_empty",
                       {{Field::OverSpeed, ""}},
                       16,
                       {"Please input over speed value.", "Empty Data"}},
        ValidationCase{"over_speed_text_passes", {{Field::OverSpeed, "abc"}}, 16, kAccepted},
        ValidationCase{"stop_period_text_passes", {{Field::StopPeriod, "abc"}}, 16, kAccepted},
        ValidationCase{
            "year_too_large", {{Field::StartYear, "10000"}}, 16, {"The Year from 0 To 9999", "Date Error"}},
        ValidationCase{"year_zero", {{Field::StartYear, "0"}, {Field::EndYear, "0"}}, 16, kAccepted},
        ValidationCase{
            "month_zero", {{Field::StartMonth, "0"}}, 16, {"The Month from 1 To 12", "Date Error"}},
        ValidationCase{
            "month_thirteen", {{Field::StartMonth, "13"}}, 16, {"The Month from 1 To 12", "Date Error"}},
        ValidationCase{"day_zero", {{Field::StartDay, "0"}}, 16, {"The Day from 1 To 31", "Date Error"}},
        ValidationCase{"day_32", {{Field::StartDay, "32"}}, 16, {"The Day from 1 To 31", "Date Error"}},
        ValidationCase{"leap_day_in_leap_year",
                       {{Field::StartYear, "2012"}, {Field::StartMonth, "2"}, {Field::StartDay, "29"}},
                       16,
                       kAccepted},
        ValidationCase{"leap_day_in_2010",
                       {{Field::StartMonth, "2"}, {Field::StartDay, "29"}},
                       16,
                       {"The Day from 1 To 28", "Input Error"}},
        ValidationCase{"february_30_leap_year",
                       {{Field::StartYear, "2012"}, {Field::StartMonth, "2"}, {Field::StartDay, "30"}},
                       16,
                       {"The Day from 1 To 29", "Input Error"}},
        ValidationCase{"april_31",
                       {{Field::StartMonth, "4"}, {Field::StartDay, "31"}},
                       16,
                       {"The Day from 1 To 30", "Input Error"}},
        ValidationCase{"august_31", {{Field::StartMonth, "8"}, {Field::StartDay, "31"}}, 16, kAccepted},
        ValidationCase{"hour_24", {{Field::StartHour, "24"}}, 16, {"The Hour from 0 To 23", "Time Error"}},
        ValidationCase{"minute_60", {{Field::StartMin, "60"}}, 16, {"The Minute from 0 To 59", "Time Error"}},
        ValidationCase{"second_60", {{Field::StartSec, "60"}}, 16, {"The Second from 0 To 59", "Time Error"}},
        ValidationCase{
            "second_negative", {{Field::StartSec, "-1"}}, 16, {"The Second from 0 To 59", "Time Error"}},
        ValidationCase{"month_not_a_number", {{Field::StartMonth, "Sep"}}, 16, kInvalidValue},
        ValidationCase{"padded_day_is_not_a_number", {{Field::StartDay, " 9"}}, 16, kInvalidValue},
        ValidationCase{"start_checked_before_end",
                       {{Field::StartHour, "x"}, {Field::EndMonth, "13"}},
                       16,
                       kInvalidValue},
        ValidationCase{"end_day_in_june",
                       {{Field::EndMonth, "6"}, {Field::EndDay, "31"}},
                       16,
                       {"The Day from 1 To 30", "Input Error"}},
        // Each side uses its own year's leap flag.
        ValidationCase{"end_year_leap_flag",
                       {{Field::StartYear, "2012"}, {Field::EndMonth, "2"}, {Field::EndDay, "29"}},
                       16,
                       {"The Day from 1 To 28", "Input Error"}},
        ValidationCase{"end_second_not_a_number", {{Field::EndSec, ""}}, 16, kInvalidValue}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValidationTest, AYearThatIsNotANumberIsAConversionErrorBeforeAnyCheck) {
  for (const Field year : {Field::StartYear, Field::EndYear}) {
    tracklog::FixedFields fields = fieldsFor({{year, "20x0"}});
    try {
      validateRequest(fields, 0);  // even before "nothing downloaded"
      FAIL() << "no conversion error";
    } catch (const tracklog::ConversionError& e) {
      EXPECT_EQ(e.badText(), "20x0");
    }
  }
}

TEST(ValidationTest, TheWindowHoldsTheValidatedNumbers) {
  tracklog::FixedFields fields = fieldsFor({{Field::StartMonth, "09"}, {Field::EndHour, "7"}});
  const auto result = validateRequest(fields, 16);
  ASSERT_TRUE(std::holds_alternative<ReportWindow>(result));
  const ReportWindow& window = std::get<ReportWindow>(result);
  EXPECT_EQ(window.start, (tracklog::CalendarTime{2010, 9, 9, 0, 0, 0}));
  EXPECT_EQ(window.end, (tracklog::CalendarTime{2010, 9, 10, 7, 0, 0}));
}

}  // namespace
}  // namespace tellurix::report

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TaggingFixtures.h"
#include "tagging/CameraClock.h"
#include "tracklog/Errors.h"

namespace tellurix::tagging {
namespace {

class PinnedClock final : public LocalClock {
 public:
  explicit PinnedClock(tracklog::CalendarTime t) : time(t) {}
  tracklog::CalendarTime now() override { return time; }
  tracklog::CalendarTime time;
};

struct OffsetCase {
  const char* name;
  std::array<const char*, 4> fields;
  std::optional<std::int64_t> seconds;
};
void PrintTo(const OffsetCase& c, std::ostream* os) {
  *os << c.name;
}

class ClockOffsetTest : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(ClockOffsetTest, ReadsTheFourFields) {
  const auto& f = GetParam().fields;
  FixedClockFields fields(f[0], f[1], f[2], f[3]);
  EXPECT_EQ(offsetSecondsOf(fields), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ClockOffsetTest,
    ::testing::Values(OffsetCase{"one_hour", {"0", "1", "0", "0"}, 3600},
                      OffsetCase{"minus_one_day", {"-1", "0", "0", "0"}, -86400},
                      OffsetCase{"all_four", {"1", "-2", "3", "-4"}, 86400 - 7200 + 180 - 4},
                      // 24856 days leave the 32-bit range; the offset must not wrap.
                      OffsetCase{"beyond_32_bits", {"24856", "0", "0", "0"}, std::int64_t{24856} * 86400},
                      OffsetCase{"largest_fields",
                                 {"2147483647", "2147483647", "2147483647", "2147483647"},
                                 std::int64_t{2147483647} * (86400 + 3600 + 60 + 1)},
                      OffsetCase{"minus_after_a_digit", {"0-", "0", "0", "0"}, std::nullopt},
                      OffsetCase{"a_lone_minus", {"0", "-", "0", "0"}, std::nullopt},
                      OffsetCase{"empty", {"0", "0", "", "0"}, std::nullopt},
                      OffsetCase{"too_large", {"0", "0", "0", "2147483648"}, std::nullopt},
                      OffsetCase{"pasted_blanks", {"0", "0", "0", " 5"}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClockKeys, OnlyDigitsMinusAndBackspaceReachTheFields) {
  for (const char32_t c : {U'0', U'5', U'9', U'-', char32_t{8}})
    EXPECT_TRUE(acceptsOffsetKey(c)) << unsigned(c);
  for (const char32_t c : {U'a', U'+', U' ', U'.', char32_t{13}, char32_t{9}, char32_t{127}, U'\u0663'}) {
    EXPECT_FALSE(acceptsOffsetKey(c)) << unsigned(c);
  }
}

TEST(ClockTick, ShowsSystemTimeAndCameraTime) {
  CameraClock clock;
  PinnedClock now({2010, 1, 1, 0, 30, 0});
  FixedClockFields fields("0", "1", "0", "0");
  const ClockDisplay shown = clock.tick(fields, now);
  EXPECT_EQ(shown.systemTime, "2010/01/01 00:30:00");
  EXPECT_EQ(shown.cameraTime, "2009/12/31 23:30:00");  // camera time + offset = system time
  EXPECT_EQ(clock.cameraOffsetSeconds(), 3600);
}

TEST(ClockTick, ResetsUnconvertibleFieldsAndKeepsTheLastOffsetForThatTick) {
  CameraClock clock;
  PinnedClock now({2010, 9, 9, 14, 5, 3});
  FixedClockFields fields("0", "1", "0", "0");
  clock.tick(fields, now);
  fields.setText(ClockField::Day, "0-");  // a minus typed after the 0
  fields.setText(ClockField::Minute, "30");
  EXPECT_EQ(clock.tick(fields, now).cameraTime, "2010/09/09 13:05:03");
  for (const ClockField f : {ClockField::Day, ClockField::Hour, ClockField::Minute, ClockField::Second}) {
    EXPECT_EQ(fields.text(f), "0");
  }
  EXPECT_EQ(clock.tick(fields, now).cameraTime, "2010/09/09 14:05:03");
}

// Track points at 11:00:00 and every ten seconds to 11:00:30 local time.
class ApplyAdjustmentTest : public ::testing::Test {
 protected:
  ApplyAdjustmentTest() {
    fixtures::fillTrack(
        store, {"2010/09/09 11:00:00", "2010/09/09 11:00:10", "2010/09/09 11:00:20", "2010/09/09 11:00:30"});
  }

  void photos(const std::vector<std::string>& dates) {
    for (const std::string& date : dates) list.append("p" + std::to_string(list.size()), date);
  }
  ApplyOutcome apply(const char* day, const char* hour, const char* minute, const char* second) {
    FixedClockFields fields(day, hour, minute, second);
    return clock.applyAdjustment(fields, list, store, ui);
  }
  [[nodiscard]] std::vector<std::string> dates() const {
    std::vector<std::string> out;
    for (const PhotoEntry& row : list.rows()) out.push_back(row.date);
    return out;
  }

  tracklog::TrackStore store;
  PhotoList list;
  CameraClock clock;
  fixtures::RecordingTaggingUi ui;
};

TEST_F(ApplyAdjustmentTest, AddsOnlyTheChangeSinceTheLastApply) {
  photos({"2012/02/28 23:30:00", "2010/12/31 23:00:00", "2010/09/09 10:00:05", "2000/01/01 10:10:10"});
  struct Step {
    std::array<const char*, 4> fields;
    std::vector<std::string> dates;
  };
  const std::vector<Step> steps{
      // leap day, year end written with its midnight time, and a track position found
      {{"0", "1", "0", "0"},
       {"2012/02/29 00:30:00", "2011/01/01 00:00:00", "2010/09/09 11:00:05", "2000/01/01 11:10:10"}},
      {{"0", "1", "0", "0"},
       {"2012/02/29 00:30:00", "2011/01/01 00:00:00", "2010/09/09 11:00:05", "2000/01/01 11:10:10"}},
      {{"0", "2", "0", "0"},
       {"2012/02/29 01:30:00", "2011/01/01 01:00:00", "2010/09/09 12:00:05", "2000/01/01 12:10:10"}},
      {{"0", "0", "0", "0"},
       {"2012/02/28 23:30:00", "2010/12/31 23:00:00", "2010/09/09 10:00:05", "2000/01/01 10:10:10"}},
      {{"-1", "0", "0", "0"},
       {"2012/02/27 23:30:00", "2010/12/30 23:00:00", "2010/09/08 10:00:05", "1999/12/31 10:10:10"}},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const auto& f = steps[i].fields;
    const ApplyOutcome outcome = apply(f[0], f[1], f[2], f[3]);
    EXPECT_TRUE(outcome.complete) << "step " << i;
    EXPECT_EQ(dates(), steps[i].dates) << "step " << i;
    EXPECT_EQ(list.row(2).latitude, i == 0 || i == 1 ? "(25.001000)" : "") << "step " << i;
  }
  EXPECT_EQ(clock.appliedOffsetSeconds(), -86400);
}

TEST_F(ApplyAdjustmentTest, PhotosLoadedAfterAnApplyMoveOnlyByTheChange) {
  photos({"2010/09/09 10:00:05"});
  apply("0", "1", "0", "0");
  photos({"2010/09/09 10:00:05"});  // loaded later, still in camera time
  apply("0", "2", "0", "0");
  EXPECT_EQ(dates(), (std::vector<std::string>{"2010/09/09 12:00:05", "2010/09/09 11:00:05"}));
  EXPECT_EQ(list.row(1).latitude, "(25.001000)");
}

TEST_F(ApplyAdjustmentTest, AnUnreadableDateStopsAtItsRowAndTheChangeIsSpent) {
  photos({"2010/09/09 10:00:05", "    /  /           ", "2010/09/09 10:00:15"});
  const ApplyOutcome outcome = apply("0", "1", "0", "0");
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.rowsShifted, 1U);
  EXPECT_EQ(dates(),
            (std::vector<std::string>{"2010/09/09 11:00:05", "    /  /           ", "2010/09/09 10:00:15"}));
  EXPECT_EQ(clock.appliedOffsetSeconds(), 3600);
  list.removeAt(1);
  apply("0", "1", "0", "0");
  EXPECT_EQ(dates(), (std::vector<std::string>{"2010/09/09 11:00:05", "2010/09/09 10:00:15"}));
}

TEST_F(ApplyAdjustmentTest, ADateThatWouldLeaveTheYear9999StopsLikeAnUnreadableOne) {
  photos({"2010/09/09 10:00:05", "9999/12/31 23:30:00", "2010/09/09 10:00:15"});
  const ApplyOutcome outcome = apply("0", "1", "0", "0");
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(dates(),
            (std::vector<std::string>{"2010/09/09 11:00:05", "9999/12/31 23:30:00", "2010/09/09 10:00:15"}));
  photos({"0001/01/01 00:30:00"});
  list.removeAt(1);
  EXPECT_FALSE(apply("0", "0", "0", "0").complete);  // back one hour: before the year 1
  EXPECT_EQ(dates(),
            (std::vector<std::string>{"2010/09/09 10:00:05", "2010/09/09 09:00:15", "0001/01/01 00:30:00"}));
}

TEST_F(ApplyAdjustmentTest, AFieldThatDoesNotConvertChangesNothing) {
  photos({"2010/09/09 10:00:05"});
  apply("0", "1", "0", "0");
  EXPECT_THROW(apply("0", "2", "", "0"), tracklog::ConversionError);
  EXPECT_EQ(clock.appliedOffsetSeconds(), 3600);
  EXPECT_EQ(dates(), (std::vector<std::string>{"2010/09/09 11:00:05"}));
}

}  // namespace
}  // namespace tellurix::tagging

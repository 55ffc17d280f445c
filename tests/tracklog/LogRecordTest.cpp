#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "support/TestFiles.h"
#include "tracklog/LogFile.h"
#include "tracklog/LogRecord.h"

namespace tellurix::tracklog {
namespace {

constexpr double kUnit = 1.0 / 8388608.0;

struct DecodeCase {
  const char* name;
  LogRecord bytes;
  TrackPoint expected;
};
void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name;
}

TrackPoint point(std::uint8_t flag, double lat, double lon, float alt, float speed, std::uint16_t year,
                 std::uint8_t month, std::uint8_t day, std::uint8_t hour, std::uint8_t minute,
                 std::uint8_t second) {
  TrackPoint p;
  p.onFlag = flag;
  p.latitude = lat;
  p.longitude = lon;
  p.altitude = alt;
  p.speed = speed;
  p.year = year;
  p.month = month;
  p.day = day;
  p.hour = hour;
  p.minute = minute;
  p.second = second;
  return p;
}

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, DecodesEveryFieldExactly) {
  const DecodeCase& c = GetParam();
  const TrackPoint p = decodeLogRecord(c.bytes);
  EXPECT_EQ(p.onFlag, c.expected.onFlag);
  EXPECT_DOUBLE_EQ(p.latitude, c.expected.latitude);
  EXPECT_DOUBLE_EQ(p.longitude, c.expected.longitude);
  EXPECT_EQ(p.altitude, c.expected.altitude);
  EXPECT_EQ(p.speed, c.expected.speed);
  EXPECT_EQ(p.year, c.expected.year);
  EXPECT_EQ(p.month, c.expected.month);
  EXPECT_EQ(p.day, c.expected.day);
  EXPECT_EQ(p.hour, c.expected.hour);
  EXPECT_EQ(p.minute, c.expected.minute);
  EXPECT_EQ(p.second, c.expected.second);
}

TEST_P(DecodeTest, EncodingTheDecodedPointGivesTheSameBytes) {
  const DecodeCase& c = GetParam();
  EXPECT_EQ(encodeLogRecord(decodeLogRecord(c.bytes)), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Records, DecodeTest,
    ::testing::Values(
        DecodeCase{
            "taipei",
            {0x0c, 0x84, 0x56, 0xd6, 0x3c, 0xc8, 0x41, 0x89, 0x00, 0x0c, 0x07, 0x25, 0x01, 0x52, 0x97, 0x8f},
            point(0, 25 + 284374 * kUnit, 121 + 4735369 * kUnit, 12, 57, 2010, 9, 9, 5, 30, 15)},
        DecodeCase{
            "every_sign_set",
            {0xd0, 0xed, 0xab, 0x9f, 0xa3, 0x52, 0xfb, 0x7f, 0x80, 0x05, 0x00, 0x17, 0x01, 0x79, 0xfe, 0xfb},
            point(1, -(33 + 7187359 * kUnit), -(70 + 5438335 * kUnit), -5, 0, 2011, 12, 31, 23, 59, 59)},
        DecodeCase{"all_zero", {}, point(0, 0, 0, 0, 0, 2000, 0, 0, 0, 0, 0)},
        DecodeCase{
            "largest_stored_values",
            {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff},
            point(1, -(127 + 8388607 * kUnit), -(255 + 8388607 * kUnit), -32767, 2047, 4047, 15, 31, 31, 63,
                  63)},
        // Out-of-range stored values pass through: hour 25, month 13, day 0, second 62.
        DecodeCase{
            "out_of_range_passes_through",
            {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x19, 0x01, 0x5a, 0x00, 0x3e},
            point(0, 0, 0, 0, 0, 2010, 13, 0, 25, 0, 62)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeTest, TheFractionCountsTwoToTheMinus23DegreeInDoublePrecision) {
  const TrackPoint p = decodeLogRecord(LogRecord{0x0c, 0x84, 0x56, 0xd6, 0x3c, 0xc8, 0x41, 0x89, 0x00, 0x0c,
                                                 0x07, 0x25, 0x01, 0x52, 0x97, 0x8f});
  char text[64];
  std::snprintf(text, sizeof text, "%.9f %.9f", p.latitude, p.longitude);
  EXPECT_STREQ(text, "25.033900023 121.564499974");
}

struct LogFileCase {
  const char* name;
  std::size_t bytes;
  int records;
};
void PrintTo(const LogFileCase& c, std::ostream* os) {
  *os << c.name;
}

class LogFileTest : public ::testing::TestWithParam<LogFileCase> {};

TEST_P(LogFileTest, ReadsWholeRecordsOnly) {
  testing::TempDir dir;
  testing::writeFile(dir.file("LOGDATA.BIN"), std::string(GetParam().bytes, '\x11'));
  LogFileReader reader;
  ASSERT_TRUE(reader.open(dir.file("LOGDATA.BIN")));
  LogRecord record;
  int count = 0;
  while (reader.next(record)) ++count;
  EXPECT_EQ(count, GetParam().records);
  EXPECT_EQ(wholeRecordBytes(GetParam().bytes), static_cast<std::uint64_t>(GetParam().records) * 16);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LogFileTest,
                         ::testing::Values(LogFileCase{"empty", 0, 0}, LogFileCase{"fifteen_bytes", 15, 0},
                                           LogFileCase{"one_record", 16, 1},
                                           LogFileCase{"thirty_three_bytes", 33, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LogFileTest, AMissingFileDoesNotOpen) {
  LogFileReader reader;
  EXPECT_FALSE(reader.open("/nonexistent/LOGDATA.BIN"));
}

}  // namespace
}  // namespace tellurix::tracklog

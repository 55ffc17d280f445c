#include <gtest/gtest.h>

#include "report/RmcWriter.h"
#include "support/LogBuilder.h"
#include "tracklog/LogRecord.h"

namespace tellurix::report {
namespace {

using testing::fix;

TEST(RmcWriterTest, TheDecodedTaipeiFixRoundsItsMinutesAndKnotsUp) {
  const tracklog::TrackPoint p = tracklog::decodeLogRecord(tracklog::LogRecord{
      0x0c, 0x84, 0x56, 0xd6, 0x3c, 0xc8, 0x41, 0x89, 0x00, 0x0c, 0x07, 0x25, 0x01, 0x52, 0x97, 0x8f});
  EXPECT_EQ(rmcSentence(p), "$GPRMC,053015.000,A,2502.0340,N,12133.8700,E,030.8,000.0,090910,,,A*69");
}

struct SentenceCase {
  const char* name;
  tracklog::TrackPoint point;
  const char* sentence;
};
void PrintTo(const SentenceCase& c, std::ostream* os) {
  *os << c.name;
}

class RmcSentenceTest : public ::testing::TestWithParam<SentenceCase> {};

TEST_P(RmcSentenceTest, WritesTheSentence) {
  EXPECT_EQ(rmcSentence(GetParam().point), GetParam().sentence);
}

INSTANTIATE_TEST_SUITE_P(
    Points, RmcSentenceTest,
    ::testing::Values(SentenceCase{"zero_is_south_and_west", fix(0, 0, 0, 2010, 9, 9, 5, 30, 15),
                                   "$GPRMC,053015.000,A,0000.0000,S,00000.0000,W,000.0,000.0,090910,,,A*62"},
                      SentenceCase{"southern_western", fix(-12.75, -45.125, 36, 2010, 9, 10, 0, 0, 0),
                                   "$GPRMC,000000.000,A,1245.0000,S,04507.5000,W,019.4,000.0,100910,,,A*65"},
                      SentenceCase{"largest_speed", fix(-12.75, -45.125, 2047, 2010, 9, 10, 0, 0, 1),
                                   "$GPRMC,000001.000,A,1245.0000,S,04507.5000,W,1105.4,000.0,100910,,,A*59"},
                      SentenceCase{"minutes_fraction",
                                   fix(25.5 + 1.0 / 1024, 121.25, 100, 2010, 9, 9, 23, 59, 59),
                                   "$GPRMC,235959.000,A,2530.0586,N,12115.0000,E,054.0,000.0,090910,,,A*66"}),
    [](const auto& info) { return std::string(info.param.name); });

struct CoordinateCase {
  const char* name;
  double degrees;
  int digits;
  const char* text;
};
void PrintTo(const CoordinateCase& c, std::ostream* os) {
  *os << c.name;
}

class RmcCoordinateTest : public ::testing::TestWithParam<CoordinateCase> {};

TEST_P(RmcCoordinateTest, RoundsMinutesHalfUp) {
  EXPECT_EQ(rmcCoordinate(GetParam().degrees, GetParam().digits), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RmcCoordinateTest,
    ::testing::Values(CoordinateCase{"south_latitude", -33.8568, 2, "3351.4080"},
                      CoordinateCase{"west_longitude", -70.6483, 3, "07038.8980"},
                      CoordinateCase{"rounds_up_to_whole_minute", 10 + 12.99996 / 60, 2, "1013.0000"},
                      CoordinateCase{"rounds_up_to_next_degree", 10 + 59.99996 / 60, 2, "1100.0000"},
                      // 196608 units of 2^-23 degree are exactly 1.40625 minutes: a tie that
                      // printf would round to even (1.4062).
                      CoordinateCase{"exact_tie_rounds_up", 10 + 196608.0 / 8388608, 2, "1001.4063"},
                      CoordinateCase{"three_degree_digits", 8.5, 3, "00830.0000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RmcWriterTest, ChecksumIsTheXorOfTheBody) {
  EXPECT_EQ(nmeaChecksum("abc", 3), 0x60U);
}

TEST(RmcWriterTest, EverySentenceEndsWithCrLf) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  writeRmcSentence(out, fix(0, 0, 0, 2010, 9, 9, 5, 30, 15));
  std::rewind(out);
  char buffer[128] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer, out);
  std::fclose(out);
  ASSERT_GE(n, 2U);
  EXPECT_EQ(std::string(buffer + n - 2, 2), "\r\n");
}

}  // namespace
}  // namespace tellurix::report

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <string>

#include "tracklog/TextBuffer.h"

namespace tellurix::tracklog {
namespace {

std::string printed(double value, int places) {
  char text[800];
  std::snprintf(text, sizeof text, "%.*f", places, value);
  return text;
}

std::string printedPadded(std::int64_t value, int width) {
  char text[100];
  std::snprintf(text, sizeof text, "%*lld|%0*lld", width, static_cast<long long>(value), width,
                static_cast<long long>(value));
  return text;
}

std::string fixed(double value, int places) {
  TextBuffer out;
  out.add(Fixed{value, places});
  return std::string(out.text());
}

// The outputs' decimals must be printf's to the byte, ties and all: exact halves round to even
// on the binary value, a negative value that rounds to zero keeps its sign.
TEST(TextBufferTest, DecimalsArePrintfsForTheValuesThatRoundTheHardWay) {
  const double values[] = {0.0,
                           -0.0,
                           0.5,
                           1.5,
                           2.5,
                           -2.5,
                           0.125,
                           2.675,  // just below the half: 2.67
                           1.005,
                           -0.0000004,
                           0.0000005,  // just below the half in binary
                           25.033900023,
                           121.564499974,
                           -122.5,
                           9007199254740993.0,
                           1.8446744073709552e19,
                           1e300,
                           -1.7976931348623157e308,
                           4.9e-324,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
  for (const double v : values) {
    for (int places = 0; places <= 19; ++places) {
      ASSERT_EQ(fixed(v, places), printed(v, places)) << v << " with " << places << " places";
    }
  }
}

TEST(TextBufferTest, DecimalsArePrintfsOverEveryMagnitude) {
  std::mt19937_64 random(20100909);
  std::uniform_real_distribution<double> degrees(-180, 180);
  for (int i = 0; i < 200000; ++i) {
    const int places = static_cast<int>(random() % 10);
    const double v =
        i % 2 == 0 ? degrees(random) : std::ldexp(static_cast<double>(random() >> 11), -80 + i % 140);
    ASSERT_EQ(fixed(v, places), printed(v, places)) << v << " with " << places << " places";
    // Exact ties at the printed precision.
    const double tie = (static_cast<double>(random() % 1000000) + 0.5) / std::pow(10.0, places);
    ASSERT_EQ(fixed(tie, places), printed(tie, places)) << tie << " with " << places << " places";
  }
}

TEST(TextBufferTest, IntegersArePrintfsWithTheirPadding) {
  const std::int64_t values[] = {0,
                                 7,
                                 -7,
                                 42,
                                 99,
                                 100,
                                 -100,
                                 2010,
                                 65535,
                                 std::numeric_limits<std::int64_t>::max(),
                                 std::numeric_limits<std::int64_t>::min()};
  for (const std::int64_t v : values) {
    for (const int width : {0, 2, 4, 6}) {
      TextBuffer out;
      out.add(Padded{v, width}, '|', ZeroPadded{v, width});
      EXPECT_EQ(out.text(), printedPadded(v, width)) << v << " in " << width;
    }
  }
  TextBuffer out;
  out.line(-12, " ", 4000000000U);
  EXPECT_EQ(out.text(), "-12 4000000000\r\n");
}

// Lines written through a small block: nothing lost or reordered across the flushes, and what
// the last call added is still there to be read (the checksum of an RMC sentence is taken
// from it).
TEST(TextBufferTest, BlocksReachTheFileWholeAndInOrder) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::string expected;
  {
    TextBuffer out(file, 64);
    for (int i = 0; i < 1000; ++i) {
      out.add("line ", i);
      EXPECT_EQ(out.recent(), "line " + std::to_string(i));
      out.line(" of ", Fixed{i / 8.0, 3});
      expected += "line " + std::to_string(i) + " of " + printed(i / 8.0, 3) + "\r\n";
    }
    EXPECT_TRUE(out.flush());
  }
  std::rewind(file);
  std::string written(expected.size() + 1, '\0');
  written.resize(std::fread(written.data(), 1, written.size(), file));
  std::fclose(file);
  EXPECT_EQ(written, expected);
}

TEST(TextBufferTest, AWriteThatFailsIsReportedByFlush) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::FILE* full = std::fopen("/dev/full", "wb");
  ASSERT_NE(full, nullptr);
  std::setvbuf(full, nullptr, _IONBF, 0);
  {
    TextBuffer out(full, 16);
    out.line("more than one block of text");
    out.line("again");
    EXPECT_FALSE(out.flush());
    EXPECT_TRUE(out.failed());
  }
  EXPECT_NE(std::ferror(full), 0) << "the file's own error flag tells the closing code";
  std::fclose(full);
}

}  // namespace
}  // namespace tellurix::tracklog

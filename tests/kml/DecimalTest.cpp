#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <random>

#include "kml/Decimal.h"

namespace tellurix::kml {
namespace {

std::string printed(double value, int places) {
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", places, value);
  return text;
}

// The numbers of every KML line must be printf's, exact ties included.
TEST(DecimalTest, WritesWhatPrintfWrites) {
  const double ties[] = {0.5, 1.5, 2.5, -0.5, 12.5, 18.75, 0.125, 0.0000005, 1.0000005, 2047.5};
  for (const double v : ties) {
    for (const int places : {0, 1, 2, 4, 6}) {
      EXPECT_EQ(Decimal(v, places).c_str(), printed(v, places)) << v << " with " << places;
    }
  }
  for (const double v : {0.0, -0.0, 1e300, -1e300, 5e-324, 121.5654321, -33.8568}) {
    EXPECT_EQ(Decimal(v, 6).c_str(), printed(v, 6)) << v;
  }

  // Coordinates as the logger stores them (multiples of 2^-23 degree) and distances.
  std::mt19937_64 random(20100909);
  std::uniform_int_distribution<std::int64_t> units(-(180LL << 23), 180LL << 23);
  std::uniform_real_distribution<double> kilometres(0, 5000);
  for (int i = 0; i < 100000; ++i) {
    const double degrees = static_cast<double>(units(random)) / (1 << 23);
    ASSERT_EQ(Decimal(degrees, 6).c_str(), printed(degrees, 6)) << degrees;
    const double km = kilometres(random);
    ASSERT_EQ(Decimal(km, 4).c_str(), printed(km, 4)) << km;
  }
}

// A decimal-comma locale must not reach the KML files.
TEST(DecimalTest, IgnoresTheLocale) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  const std::string text = Decimal(25.0339, 6).c_str();
  const std::string withPrintf = printed(25.0339, 6);
  std::setlocale(LC_NUMERIC, before.c_str());
  EXPECT_EQ(text, "25.033900");
  EXPECT_EQ(withPrintf, "25,033900");  // what printf alone would have written
}

}  // namespace
}  // namespace tellurix::kml

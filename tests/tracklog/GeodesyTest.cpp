#include <gtest/gtest.h>

#include "tracklog/Geodesy.h"

namespace tellurix::tracklog {
namespace {

struct GeoCase {
  double lat1, lon1, lat2, lon2;
  double distance;  // negative: not checked
  double bearing;
};
void PrintTo(const GeoCase& c, std::ostream* os) {
  *os << c.lat1 << "," << c.lon1 << " to " << c.lat2 << "," << c.lon2;
}

class GeodesyTest : public ::testing::TestWithParam<GeoCase> {};

TEST_P(GeodesyTest, MatchesTheWorkedValues) {
  const GeoCase& c = GetParam();
  if (c.distance >= 0) {
    EXPECT_NEAR(distanceMetres(c.lat1, c.lon1, c.lat2, c.lon2), c.distance, 5e-5);
  }
  EXPECT_NEAR(bearingDegrees(c.lat1, c.lon1, c.lat2, c.lon2), c.bearing, 5e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GeodesyTest,
    ::testing::Values(GeoCase{0, 0, 0, 1, 111319.4908, 90}, GeoCase{0, 0, 1, 0, 111319.4908, 0},
                      GeoCase{25.0339, 121.5645, 25.0349, 121.5655, 150.0767, 42.1784},
                      GeoCase{45, 10, 44.99, 9.99, 1361.0913, 215.2644},
                      GeoCase{45, 10, 45.01, 9.99, -1, 324.7356}, GeoCase{45, 10, 44.99, 10.01, -1, 144.7356},
                      GeoCase{45, 10, 45, 9.99, -1, 270}, GeoCase{45, 10, 45, 10, 0, 0}));

TEST(GeodesyTest, ThePoleHasNoEastScale) {
  EXPECT_NEAR(distanceMetres(90, 0, 89.99, 45), 0.01 * 3.141592653589793 / 180 * 6356725, 1e-6);
  EXPECT_NEAR(bearingDegrees(90, 0, 89.99, 45), 180, 1e-9);
  EXPECT_NEAR(bearingDegrees(-90, 10, -89.99, 20), 0, 1e-9);
  EXPECT_NEAR(bearingDegrees(-90, 10, -89.99, 5), 360, 1e-9);
}

TEST(GeodesyTest, TheFirstPointSetsTheScale) {
  EXPECT_NE(distanceMetres(45, 10, 46, 11), distanceMetres(46, 11, 45, 10));
}

TEST(GeodesyTest, NoWrapAtTheDateLine) {
  // 179.9 to -179.9 goes the long way round: 359.8 degrees of longitude at the equator.
  EXPECT_NEAR(distanceMetres(0, 179.9, 0, -179.9), 359.8 * 3.141592653589793 / 180 * 6378137, 1e-3);
  EXPECT_EQ(bearingDegrees(0, 179.9, 0, -179.9), 270);
}

}  // namespace
}  // namespace tellurix::tracklog

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

TEST_P(GeodesyTest, ScalesByTheFirstLatitudeAndPicksTheBearingsQuadrant) {
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

// Pairs whose latitudes differ, both ways round. The expected metres were worked out at 40
// digits from the flat-earth formula, apart from this code; for 45,10 to 46,11 the radius is
// 6367431 m, the east scale 6367431 m x cos 45 deg. Taking the radius from the second point
// moves these by 0.6 to 5 m, the east scale from the second or the mean latitude by 0.4 to
// 800 m, a signed instead of an absolute latitude by 144 m south of the equator.
struct DirectionCase {
  const char* name;
  double lat1, lon1, lat2, lon2;
  double forward;   // from point 1 to point 2
  double backward;  // from point 2 to point 1
};
void PrintTo(const DirectionCase& c, std::ostream* os) {
  *os << c.name;
}

class GeodesyDirectionTest : public ::testing::TestWithParam<DirectionCase> {};

TEST_P(GeodesyDirectionTest, TheFirstPointSetsTheScale) {
  const DirectionCase& c = GetParam();
  EXPECT_NEAR(distanceMetres(c.lat1, c.lon1, c.lat2, c.lon2), c.forward, 1e-6);
  EXPECT_NEAR(distanceMetres(c.lat2, c.lon2, c.lat1, c.lon1), c.backward, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, GeodesyDirectionTest,
    ::testing::Values(
        DirectionCase{"north_east", 45, 10, 46, 11, 136109.1257936231, 135310.0639594181},
        DirectionCase{"southern_hemisphere", -33.9, 18.4, -34.2, 18.9, 56932.8552731983, 56800.2224285122},
        DirectionCase{"far_north_going_west", 60, 25, 60.5, 24, 78538.59828209821, 77944.36965121258},
        DirectionCase{"off_the_equator", 0, 0, 0.5, 0.5, 78714.76681815718, 78711.80018067634}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GeodesyTest, NoWrapAtTheDateLine) {
  // 179.9 to -179.9 goes the long way round: 359.8 degrees of longitude at the equator.
  EXPECT_NEAR(distanceMetres(0, 179.9, 0, -179.9), 359.8 * 3.141592653589793 / 180 * 6378137, 1e-3);
  EXPECT_EQ(bearingDegrees(0, 179.9, 0, -179.9), 270);
}

}  // namespace
}  // namespace tellurix::tracklog

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "map/LatLonGrid.h"
#include "map/Legend.h"
#include "map/ScaleBar.h"
#include "tracklog/Geodesy.h"

namespace tellurix::map {
namespace {

using tracklog::SpeedUnit;

MapView viewAt(double latitude, double longitude, int zoom) {
  const WorldPoint p = project(latitude, longitude);
  const double s = std::ldexp(1.0, zoom);
  return {800, 600, zoom, p.x * s, p.y * s};
}

// The bar's metres measured the way the report measures its distances, at the map's centre.
double barMetres(const MapView& view, const ScaleBar& bar) {
  const ScreenPoint c{view.width() / 2.0, view.height() / 2.0};
  const WorldPoint a = view.toWorld(c);
  const WorldPoint b = view.toWorld({c.x + bar.pixels, c.y});
  const double latitude = latitudeAt(a.y);
  return tracklog::distanceMetres(latitude, longitudeAt(a.x), latitude, longitudeAt(b.x));
}

double labelMetres(const std::string& label) {
  char* unit = nullptr;
  const double value = std::strtod(label.c_str(), &unit);
  const std::string u = unit;
  if (u == " m") return value;
  if (u == " km") return value * 1000;
  if (u == " ft") return value / 3.28;
  if (u == " mi") return value / 0.625 * 1000;
  ADD_FAILURE() << "unknown unit in " << label;
  return 0;
}

TEST(ScaleBar, TheBarIsAsLongAsItsLabelSaysAndARoundLength) {
  struct Case {
    double latitude;
    int zoom;
    SpeedUnit unit;
    const char* label;
  };
  const Case cases[] = {
      {25, 17, SpeedUnit::Kph, "100 m"},  {25, 10, SpeedUnit::Kph, "20 km"},
      {60, 10, SpeedUnit::Kph, "10 km"},  {25, 19, SpeedUnit::Mph, "100 ft"},
      {25, 17, SpeedUnit::Mph, "0.1 mi"}, {25, 10, SpeedUnit::Mph, "10 mi"},
      {0, 0, SpeedUnit::Kph, "20000 km"}, {25, 10, SpeedUnit::Other, "20 km"},
  };
  for (const Case& c : cases) {
    const MapView view = viewAt(c.latitude, 121, c.zoom);
    const ScaleBar bar = scaleBar(view, c.unit, 150);
    EXPECT_EQ(bar.label, c.label) << c.latitude << " zoom " << c.zoom;
    EXPECT_LE(bar.pixels, 150);
    EXPECT_GT(bar.pixels, 150 / 2.5) << "a longer round length would have fitted";
    EXPECT_NEAR(barMetres(view, bar), labelMetres(bar.label), labelMetres(bar.label) * 1e-6) << bar.label;
  }
}

TEST(Legend, NamesTheReportsClassesInItsUnit) {
  EXPECT_EQ(legendLabels(SpeedUnit::Kph),
            (std::vector<std::string>{"Congestion 0-10 KPH", "Slow 10-60 KPH", "Medium 60-80 KPH",
                                      "Fast 80-120 KPH", "Excessive 120+ KPH"}));
  EXPECT_EQ(legendLabels(SpeedUnit::Mph),
            (std::vector<std::string>{"Congestion 0-6 MPH", "Slow 6-37 MPH", "Medium 37-50 MPH",
                                      "Fast 50-75 MPH", "Excessive 75+ MPH"}));
}

TEST(LatLonGrid, LinesAtRoundDegreesWhereTheyAreProjected) {
  const MapView view = viewAt(25.03, 121.56, 12);
  const std::vector<GridLine> lines = gridLines(view);
  int meridians = 0;
  for (const GridLine& line : lines) {
    ASSERT_GE(line.position, -1);
    ASSERT_LE(line.position, line.meridian ? view.width() + 1 : view.height() + 1);
    const double degrees = std::strtod(line.label.c_str(), nullptr);
    const WorldPoint p = line.meridian ? project(0, degrees) : project(degrees, 0);
    const ScreenPoint s = view.toScreen(p);
    EXPECT_NEAR(line.meridian ? s.x : s.y, line.position, 1e-6) << line.label;
    if (line.meridian) ++meridians;
  }
  EXPECT_GE(meridians, 3);
  EXPECT_LE(lines.size(), 20U);
}

TEST(LatLonGrid, LongitudesWestOfTheAntimeridianAreWest) {
  const MapView view = viewAt(-16.5, 180, 6);
  bool east = false;
  bool west = false;
  for (const GridLine& line : gridLines(view)) {
    if (!line.meridian) continue;
    east = east || line.label.ends_with("E");
    west = west || line.label.ends_with("W");
    EXPECT_LE(std::strtod(line.label.c_str(), nullptr), 180) << line.label;
  }
  EXPECT_TRUE(east && west);
}

}  // namespace
}  // namespace tellurix::map

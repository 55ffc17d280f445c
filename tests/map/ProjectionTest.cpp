#include <gtest/gtest.h>

#include <cmath>

#include "map/MapView.h"
#include "map/WebMercator.h"

namespace tellurix::map {
namespace {

struct KnownTile {
  const char* place;
  double latitude;
  double longitude;
  int zoom;
  int x;
  int y;
};

// Tile numbers as tile servers count them.
TEST(Projection, KnownPlacesFallOnTheirServersTiles) {
  const KnownTile cases[] = {
      {"London", 51.5074, -0.1278, 10, 511, 340},     {"Taipei", 25.0339, 121.5645, 17, 109796, 56116},
      {"Sydney", -33.8688, 151.2093, 12, 3768, 2457}, {"New York", 40.7128, -74.0060, 15, 9647, 12320},
      {"null island", 0.0001, 0.0001, 1, 1, 0},       {"south edge", -85.05, 0, 3, 4, 7},
  };
  for (const KnownTile& c : cases) {
    const WorldPoint p = project(c.latitude, c.longitude);
    const double scale = std::ldexp(1.0, c.zoom);
    EXPECT_EQ(static_cast<int>(std::floor(p.x * scale / kTileSize)), c.x) << c.place;
    EXPECT_EQ(static_cast<int>(std::floor(p.y * scale / kTileSize)), c.y) << c.place;
  }
}

TEST(Projection, LatitudesBeyondTheSquareWorldLieOnItsEdge) {
  EXPECT_NEAR(project(89, 10).y, 0, 1e-6);
  EXPECT_NEAR(project(90, 10).y, 0, 1e-6);
  EXPECT_NEAR(project(-89, 10).y, kTileSize, 1e-6);
  EXPECT_TRUE(std::isfinite(project(-90, 10).y));
  EXPECT_NEAR(latitudeAt(project(25.0339, 0).y), 25.0339, 1e-9);
  EXPECT_NEAR(longitudeAt(project(0, 121.5645).x), 121.5645, 1e-9);
}

struct FitCase {
  const char* name;
  WorldBox box;  // at zoom 0
  int width;
  int height;
  int zoom;
};

TEST(Fit, TakesTheLargestZoomAtWhichTheBoxLeavesA64PixelMargin) {
  const double px17 = 1.0 / (1 << 17);  // one pixel at zoom 17, in zoom-0 pixels
  const FitCase cases[] = {
      {"a single point: the deepest fit level", {100, 100, 100, 100}, 1200, 800, kMaxFitZoom},
      {"exactly W - 64 wide at zoom 17", {100, 100, 100 + 1136 * px17, 100}, 1200, 800, 17},
      {"a pixel wider", {100, 100, 100 + 1137 * px17, 100}, 1200, 800, 16},
      {"exactly H - 64 high at zoom 17", {100, 100, 100, 100 + 736 * px17}, 1200, 800, 17},
      {"the height decides", {100, 100, 100 + 10 * px17, 100 + 737 * px17}, 1200, 800, 16},
      {"the whole world", {0, 0, kTileSize, kTileSize}, 1200, 800, 1},
      {"an image smaller than the margin", {100, 100, 101, 101}, 50, 50, 0},
  };
  for (const FitCase& c : cases) {
    const MapView view = fitView(c.box, c.width, c.height);
    EXPECT_EQ(view.zoom(), c.zoom) << c.name;
    const ScreenPoint centre =
        view.toScreen({(c.box.left + c.box.right) / 2, (c.box.top + c.box.bottom) / 2});
    EXPECT_DOUBLE_EQ(centre.x, c.width / 2.0) << c.name;
    EXPECT_DOUBLE_EQ(centre.y, c.height / 2.0) << c.name;
  }
}

TEST(Fit, ImagePixelIsTheWorldPixelLessTheCentrePlusHalfTheImage) {
  const MapView view = fitView({10, 20, 10.5, 20.25}, 1201, 801);
  const WorldPoint p{10.1, 20.2};
  const double s = std::ldexp(1.0, view.zoom());
  const double xc = (10 + 10.5) / 2 * s;
  const double yc = (20 + 20.25) / 2 * s;
  EXPECT_DOUBLE_EQ(view.toScreen(p).x, p.x * s - xc + 1201 / 2.0);
  EXPECT_DOUBLE_EQ(view.toScreen(p).y, p.y * s - yc + 801 / 2.0);
}

TEST(View, ZoomKeepsThePointUnderTheAnchorAndStopsAtTheLevelsEnds) {
  MapView view(800, 600, 10, 5000.25, 7000.75);
  const ScreenPoint anchor{123, 456};
  const WorldPoint under = view.toWorld(anchor);
  view.zoomAbout(anchor, 3);
  EXPECT_EQ(view.zoom(), 13);
  EXPECT_NEAR(view.toScreen(under).x, anchor.x, 1e-6);
  EXPECT_NEAR(view.toScreen(under).y, anchor.y, 1e-6);
  view.zoomAbout(anchor, 100);
  EXPECT_EQ(view.zoom(), kMaxZoom);
  view.zoomAbout(anchor, -100);
  EXPECT_EQ(view.zoom(), 0);
}

TEST(View, PanMovesTheMapWithThePointerButNotThePolesPastTheCentre) {
  MapView view(800, 600, 4, 2000, 2000);
  const WorldPoint p = view.toWorld({100, 100});
  view.panBy(30, -20);
  EXPECT_NEAR(view.toScreen(p).x, 130, 1e-9);
  EXPECT_NEAR(view.toScreen(p).y, 80, 1e-9);
  view.panBy(0, 1e9);
  EXPECT_EQ(view.centreY(), 0);
  view.panBy(0, -1e9);
  EXPECT_EQ(view.centreY(), kTileSize * 16);
}

}  // namespace
}  // namespace tellurix::map

#include <gtest/gtest.h>

#include "TripFixtures.h"
#include "map/MapScene.h"

namespace tellurix::map {
namespace {

std::shared_ptr<const TripData> straightTrip(double latitude, double longitude) {
  auto trip = std::make_shared<TripData>();
  trip->points = testing::TrackBuilder(latitude, longitude).drive(100, 0, 20, 60).points();
  trip->results.legs.push_back({1, 0, 99, false, 0, 2000});
  trip->results.done = true;
  return trip;
}

TEST(MapScene, HoverFindsTheNearestPointWithinTheRadius) {
  const MapScene scene(straightTrip(25, 121));
  const MapView view = fitView(scene.track().box(), 800, 600);
  const ScreenPoint p40 = view.toScreen(scene.track().point(40));
  EXPECT_EQ(scene.pointAt(view, {p40.x + 3, p40.y}, 8), 40U);
  EXPECT_EQ(scene.pointAt(view, {p40.x + 9, p40.y}, 8), std::nullopt);
}

TEST(MapScene, TheTopmostMarkerWinsAndLayersReplaceByName) {
  MapScene scene(straightTrip(25, 121));
  const MapView view = fitView(scene.track().box(), 800, 600);
  const WorldPoint at = scene.track().point(50);
  scene.setMarkerLayer({"photos", {{MarkerKind::Photo, at, 50, 0, {"first"}}}});
  scene.setMarkerLayer({"photos", {{MarkerKind::Photo, at, 50, 0, {"second"}}}});
  ASSERT_EQ(scene.markerLayers().size(), 2U);
  const auto hit = scene.markerAt(view, view.toScreen(at), 10);
  ASSERT_TRUE(hit);
  EXPECT_EQ(scene.markerLayers()[hit->layer].name, "photos");
  EXPECT_EQ(scene.markerLayers()[hit->layer].markers[hit->marker].hoverLines.front(), "second");
  // Begin sits at point 0, under nothing else.
  const auto begin = scene.markerAt(view, view.toScreen(scene.track().point(0)), 10);
  ASSERT_TRUE(begin);
  EXPECT_EQ(scene.markerLayers()[begin->layer].markers[begin->marker].kind, MarkerKind::Begin);
  scene.removeMarkerLayer("photos");
  EXPECT_EQ(scene.markerLayers().size(), 1U);
}

TEST(MapScene, APositionAcrossTheAntimeridianIsPlacedBesideTheTrack) {
  const MapScene scene(straightTrip(-16.5, 179.99));
  const WorldPoint p = scene.place(-16.5, -179.99);
  EXPECT_NEAR(p.x, project(-16.5, 180.01).x, 1e-9) << "placed a world away from the track";
}

TEST(MapScene, ACursorBeyondTheTrackIsNoCursor) {
  MapScene scene(straightTrip(25, 121));
  scene.setCursor(99);
  EXPECT_EQ(scene.cursor(), 99U);
  scene.setCursor(100);
  EXPECT_EQ(scene.cursor(), std::nullopt);
}

}  // namespace
}  // namespace tellurix::map

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <cmath>

#include "TileServer.h"
#include "map/TripFixtures.h"
#include "report/SpeedClasses.h"
#include "support/TestFiles.h"
#include "tellurix/Version.h"
#include "tripview/MapPainter.h"
#include "tripview/TripPicture.h"

namespace tellurix::tripview {
namespace {

using map::MarkerKind;
using testing::TileServer;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

bool sameColour(QRgb pixel, const QColor& colour, int tolerance = 10) {
  return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
         std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
         std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

std::string colourText(QRgb pixel) {
  return QColor(pixel).name().toStdString();
}

const testing::ReportedTrip& twoStops() {
  static const testing::ReportedTrip trip = testing::reportTrip(testing::twoStopDrive());
  return trip;
}

// The fitted view of a trip, as the picture draws it.
map::MapView fitted(const map::TripData& trip, int width = kWidth, int height = kHeight) {
  return map::fitView(map::TrackGeometry(trip).box(), width, height);
}

std::set<map::TileId> fittedTiles(const map::TripData& trip) {
  const std::vector<map::TileId> tiles = map::tilesToLoad(fitted(trip));
  return {tiles.begin(), tiles.end()};
}

// A pixel near the right edge, half way down: outside the track's box and every overlay.
constexpr int kProbeX = kWidth - 5;
constexpr int kProbeY = kHeight / 2;

map::TileId tileAt(const map::MapView& view, int x, int y) {
  for (const map::TilePlacement& p : map::visibleTiles(view)) {
    if (x >= p.left && x < p.left + 256 && y >= p.top && y < p.top + 256) return p.id;
  }
  return {-1, -1, -1};
}

class PictureTest : public ::testing::Test {
 protected:
  TripPicture render(const std::shared_ptr<const map::TripData>& trip, const std::string& url,
                     int timeoutMs = 10000) {
    PictureOptions options;
    options.width = kWidth;
    options.height = kHeight;
    options.tileUrl = url;
    options.tileCacheFolder = QString::fromStdString(cache.path().string());
    options.attribution = QStringLiteral("test tiles");
    options.tileTimeoutMs = timeoutMs;
    return renderTripPicture(trip, options);
  }

  testing::TempDir cache;
};

TEST_F(PictureTest, AsksForExactlyTheTilesOfTheFitNamingTellurixAndDrawsThemInPlace) {
  TileServer server;
  const TripPicture picture = render(twoStops().trip, server.urlTemplate());
  EXPECT_EQ(picture.failedTiles, 0);
  EXPECT_EQ(server.requestedTiles(), fittedTiles(*twoStops().trip));
  EXPECT_EQ(server.requests().size(), server.requestedTiles().size()) << "a tile asked for twice";
  for (const TileServer::Request& r : server.requests()) {
    EXPECT_EQ(r.userAgent, QByteArray("Tellurix/") + kVersion);
  }
  const map::TileId probe = tileAt(fitted(*twoStops().trip), kProbeX, kProbeY);
  EXPECT_TRUE(sameColour(picture.image.pixel(kProbeX, kProbeY), TileServer::colourOf(probe), 0))
      << colourText(picture.image.pixel(kProbeX, kProbeY));
}

TEST_F(PictureTest, ASecondRenderWithTheSameCacheAsksTheServerNothing) {
  TileServer server;
  const TripPicture first = render(twoStops().trip, server.urlTemplate());
  const std::size_t asked = server.requests().size();
  ASSERT_GT(asked, 0U);
  const TripPicture second = render(twoStops().trip, server.urlTemplate());
  EXPECT_EQ(server.requests().size(), asked);
  EXPECT_EQ(second.failedTiles, 0);
  EXPECT_TRUE(first.image == second.image);
}

// Expired tiles are asked for again while the server answers, and shown from the cache when
// it does not: an area seen once opens offline.
TEST_F(PictureTest, ExpiredTilesAreAskedForAgainOnlineAndComeFromTheCacheOffline) {
  std::string url;
  QImage online;
  {
    TileServer server(TileServer::Mode::Tiles, 0, "max-age=0");
    url = server.urlTemplate();
    online = render(twoStops().trip, url).image;
    const std::size_t asked = server.requests().size();
    QTest::qWait(1100);  // the cache's clock counts whole seconds
    render(twoStops().trip, url);
    EXPECT_EQ(server.requests().size(), 2 * asked);
  }
  QTest::qWait(1100);
  const TripPicture offline = render(twoStops().trip, url);
  EXPECT_EQ(offline.failedTiles, 0);
  EXPECT_TRUE(offline.image == online);
}

TEST_F(PictureTest, AtMostTwoTilesAreAskedForAtATime) {
  TileServer server(TileServer::Mode::Tiles, 40);
  render(twoStops().trip, server.urlTemplate());
  ASSERT_GT(server.requests().size(), 4U);
  EXPECT_EQ(server.mostAtOnce(), 2);
}

TEST_F(PictureTest, ServersThatFailLeavePlainTilesAndTheTrackDrawn) {
  struct Case {
    const char* name;
    TileServer::Mode mode;
  };
  for (const Case& c :
       {Case{"404", TileServer::Mode::NotFound}, Case{"bytes that are no picture", TileServer::Mode::Garbage},
        Case{"no answer", TileServer::Mode::Silent}}) {
    SCOPED_TRACE(c.name);
    TileServer server(c.mode);
    const TripPicture picture = render(twoStops().trip, server.urlTemplate(), 300);
    const auto tiles = static_cast<int>(fittedTiles(*twoStops().trip).size());
    EXPECT_EQ(picture.failedTiles, tiles);
    const QRgb probe = picture.image.pixel(kProbeX, kProbeY);
    EXPECT_TRUE(sameColour(probe, kBackgroundColour, 0) || sameColour(probe, QColor(0xc9, 0xc3, 0xb6), 40))
        << colourText(probe);
    const map::MapView view = fitted(*twoStops().trip);
    const map::MapScene scene(twoStops().trip);
    const map::ScreenPoint middle = view.toScreen(scene.track().point(150));
    EXPECT_TRUE(sameColour(picture.image.pixel(static_cast<int>(middle.x), static_cast<int>(middle.y)),
                           speedClassColour(scene.track().speedClass(150))));
  }
}

TEST_F(PictureTest, BytesThatAreNoPictureAreNotKeptInTheCache) {
  TileServer server(TileServer::Mode::Garbage);
  render(twoStops().trip, server.urlTemplate());
  const std::size_t asked = server.requests().size();
  render(twoStops().trip, server.urlTemplate());
  EXPECT_EQ(server.requests().size(), 2 * asked);
}

// Markers and overlays cover the track in places; elsewhere its line has the class colour of
// the points it joins, where they are projected.
TEST_F(PictureTest, TheTrackIsDrawnAtTheProjectedPositionsOfItsPoints) {
  const auto& trip = twoStops().trip;
  const TripPicture picture = render(trip, "");
  const map::MapScene scene(trip);
  const map::MapView view = fitted(*trip);
  int checked = 0;
  for (std::size_t i = 1; i + 1 < scene.track().size(); i += 7) {
    const map::ScreenPoint s = view.toScreen(scene.track().point(i));
    const std::uint8_t k = scene.track().speedClass(i);
    if (scene.track().speedClass(i - 1) != k || scene.track().speedClass(i + 1) != k) continue;
    if (scene.markerAt(view, s, 16) || (s.x < 220 && s.y < 110) || s.y > kHeight - 45) continue;
    EXPECT_TRUE(
        sameColour(picture.image.pixel(static_cast<int>(s.x), static_cast<int>(s.y)), speedClassColour(k)))
        << "point " << i << " at " << s.x << "," << s.y << ": "
        << colourText(picture.image.pixel(static_cast<int>(s.x), static_cast<int>(s.y)));
    ++checked;
  }
  EXPECT_GT(checked, 30);
}

TEST_F(PictureTest, MarkersStandAtTheStopsBeginEndAndMaxSpeed) {
  const auto& trip = twoStops().trip;
  const TripPicture picture = render(trip, "");
  const map::MapScene scene(trip);
  const map::MapView view = fitted(*trip);
  int stops = 0;
  for (const map::Marker& m : scene.markerLayers().front().markers) {
    const map::ScreenPoint s = view.toScreen(m.at);
    // Above the marker's number or letter, inside its disc.
    const QRgb fill =
        picture.image.pixel(static_cast<int>(std::floor(s.x)), static_cast<int>(std::floor(s.y - 6.5)));
    EXPECT_TRUE(sameColour(fill, markerColour(m.kind), 4))
        << m.hoverLines.front() << ": " << colourText(fill);
    if (m.kind == MarkerKind::Stop) ++stops;
  }
  EXPECT_EQ(stops, 2);
}

TEST_F(PictureTest, AOnePointTripIsDrawnAtTheCentreAtTheDeepestFit) {
  const auto reported = testing::reportTrip(testing::TrackBuilder(25.0339, 121.5645).point(42).points());
  TileServer server;
  const TripPicture picture = render(reported.trip, server.urlTemplate());
  const map::MapView view = fitted(*reported.trip);
  EXPECT_EQ(view.zoom(), map::kMaxFitZoom);
  EXPECT_EQ(server.requestedTiles(), fittedTiles(*reported.trip));
  const QRgb fill = picture.image.pixel(kWidth / 2, kHeight / 2 - 7);
  EXPECT_TRUE(sameColour(fill, markerColour(MarkerKind::End), 4)) << colourText(fill);
}

TEST_F(PictureTest, ATrackAtLatitude89RunsAlongTheWorldsEdgeWithNoTilesBeyondIt) {
  const auto reported = testing::reportTrip(testing::TrackBuilder(89, 10).drive(300, 30, 0, 50).points());
  TileServer server;
  const TripPicture picture = render(reported.trip, server.urlTemplate());
  EXPECT_EQ(picture.failedTiles, 0);
  EXPECT_EQ(server.requestedTiles(), fittedTiles(*reported.trip));
  for (const map::TileId& t : server.requestedTiles()) EXPECT_GE(t.y, 0);
  const int x = kWidth / 2;
  EXPECT_TRUE(sameColour(picture.image.pixel(x, kHeight / 2), speedClassColour(report::speedClassOf(50))));
  const QRgb beyond = picture.image.pixel(x, kHeight / 2 - 30);
  EXPECT_FALSE(
      sameColour(beyond, TileServer::colourOf(tileAt(fitted(*reported.trip), x, kHeight / 2 + 30)), 0))
      << "a tile north of the world's edge";
  EXPECT_TRUE(sameColour(picture.image.pixel(x, kHeight / 2 + 30),
                         TileServer::colourOf(tileAt(fitted(*reported.trip), x, kHeight / 2 + 30)), 0));
}

TEST_F(PictureTest, ATrackAcrossTheAntimeridianIsOneLineWithTilesFromBothEnds) {
  const auto reported =
      testing::reportTrip(testing::TrackBuilder(-16.5, 179.97).drive(200, 30, 0, 50).points());
  ASSERT_LT(reported.trip->points.back().longitude, 0);
  TileServer server;
  const TripPicture picture = render(reported.trip, server.urlTemplate());
  const map::MapView view = fitted(*reported.trip);
  EXPECT_GE(view.zoom(), 12) << "fitted as if the track went round the world";
  EXPECT_EQ(server.requestedTiles(), fittedTiles(*reported.trip));
  const int columns = 1 << view.zoom();
  bool west = false;
  bool east = false;
  for (const map::TileId& t : server.requestedTiles()) {
    west = west || t.x == columns - 1;
    east = east || t.x == 0;
  }
  EXPECT_TRUE(west && east);
  const map::MapScene scene(reported.trip);
  for (const std::size_t i : {50U, 100U, 150U}) {
    const map::ScreenPoint s = view.toScreen(scene.track().point(i));
    EXPECT_TRUE(sameColour(picture.image.pixel(static_cast<int>(s.x), static_cast<int>(s.y)),
                           speedClassColour(report::speedClassOf(50))))
        << i;
  }
}

}  // namespace
}  // namespace tellurix::tripview

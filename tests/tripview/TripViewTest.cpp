#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "TileServer.h"
#include "map/TripFixtures.h"
#include "platform/ProfileFile.h"
#include "shell/ScriptedDesktop.h"
#include "support/TestFiles.h"
#include "tripview/MapPainter.h"
#include "tripview/TripMapWidget.h"
#include "tripview/TripView.h"

namespace tellurix::tripview {
namespace {

using testing::TileServer;

const testing::ReportedTrip& twoStops() {
  static const testing::ReportedTrip trip = testing::reportTrip(testing::twoStopDrive());
  return trip;
}

QPoint pixel(const map::ScreenPoint& p) {
  return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

class TripViewTest : public ::testing::Test {
 protected:
  TfrmTripView& open(const std::string& tileUrl = "", bool rememberSize = false) {
    window.reset();
    TripViewOptions options;
    options.map.tileUrl = tileUrl;
    options.map.attribution = "test tiles";
    options.settings = rememberSize ? &settings : nullptr;
    options.tileCacheFolder = QString::fromStdString(dir.file("tiles"));
    options.tileTimeoutMs = 300;
    window = std::make_unique<TfrmTripView>(twoStops().trip, options, desktop);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
  }

  TripMapWidget& map() { return *window->pbxMap; }
  [[nodiscard]] map::MapView fitted() const {
    return map::fitView(window->pbxMap->scene().track().box(), window->pbxMap->width(),
                        window->pbxMap->height());
  }

  void wheel(const QPoint& at, int notches) {
    QWheelEvent event(QPointF(at), QPointF(map().mapToGlobal(at)), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&map(), &event);
  }

  testing::TempDir dir;
  platform::ProfileFile settings{dir.file("Tellurix.ini")};
  testing::ScriptedDesktop desktop;
  std::unique_ptr<TfrmTripView> window;
};

TEST_F(TripViewTest, OpensFittedAndHomeFitsAgainAfterTheUserMovedAway) {
  open();
  EXPECT_EQ(map().view(), fitted());
  map().setFocus();
  QTest::keyClick(&map(), Qt::Key_Minus);
  QTest::keyClick(&map(), Qt::Key_Right);
  EXPECT_NE(map().view(), fitted());
  QTest::keyClick(&map(), Qt::Key_Home);
  EXPECT_EQ(map().view(), fitted());
  window->resize(window->width() + 120, window->height() + 80);
  QApplication::processEvents();
  EXPECT_EQ(map().view(), fitted()) << "a fitted map follows the window's size";
}

TEST_F(TripViewTest, WheelDoubleClickAndKeysZoomAboutThePointer) {
  open();
  const QPoint at(map().width() / 3, map().height() / 4);
  QTest::mouseMove(&map(), at);
  const map::WorldPoint under =
      map().view().toWorld({static_cast<double>(at.x()), static_cast<double>(at.y())});
  const int zoom = map().view().zoom();
  struct Step {
    const char* gesture;
    std::function<void()> act;
    int zoom;
  };
  const Step steps[] = {
      {"wheel up", [&] { wheel(at, 1); }, zoom + 1},
      {"wheel down twice", [&] { wheel(at, -2); }, zoom - 1},
      {"double click", [&] { QTest::mouseDClick(&map(), Qt::LeftButton, Qt::NoModifier, at); }, zoom},
      {"+", [&] { QTest::keyClick(&map(), Qt::Key_Plus); }, zoom + 1},
      {"-", [&] { QTest::keyClick(&map(), Qt::Key_Minus); }, zoom},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(map().view().zoom(), step.zoom) << step.gesture;
    const map::ScreenPoint s = map().view().toScreen(under);
    EXPECT_NEAR(s.x, at.x(), 0.5) << step.gesture;
    EXPECT_NEAR(s.y, at.y(), 0.5) << step.gesture;
  }
}

TEST_F(TripViewTest, DraggingMovesTheMapWithThePointer) {
  open();
  const QPoint from(map().width() / 2, map().height() / 2);
  const map::WorldPoint grabbed =
      map().view().toWorld({static_cast<double>(from.x()), static_cast<double>(from.y())});
  QTest::mousePress(&map(), Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(&map(), from + QPoint(20, 10));
  QTest::mouseMove(&map(), from + QPoint(45, -30));
  QTest::mouseRelease(&map(), Qt::LeftButton, Qt::NoModifier, from + QPoint(45, -30));
  const map::ScreenPoint s = map().view().toScreen(grabbed);
  EXPECT_NEAR(s.x, from.x() + 45, 0.5);
  EXPECT_NEAR(s.y, from.y() - 30, 0.5);
}

TEST_F(TripViewTest, HoveringAStopShowsTheReportsLinesAndTheTrackReportsItsPoint) {
  open();
  QSignalSpy points(&map(), &TripMapWidget::pointHovered);
  const map::MapScene& scene = map().scene();
  const map::Marker* stop = nullptr;
  for (const map::Marker& m : scene.markerLayers().front().markers) {
    if (m.kind == map::MarkerKind::Stop && m.number == 2) stop = &m;
  }
  ASSERT_NE(stop, nullptr);
  QTest::mouseMove(&map(), pixel(map().view().toScreen(stop->at)) + QPoint(2, 1));
  const QStringList lines = map().hoverText().split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 4);
  EXPECT_EQ(lines.front(), QStringLiteral("Stop (2):"));
  const auto& report = twoStops().reportLines;
  const auto block = std::find(report.begin(), report.end(), "Stop (2):");
  ASSERT_NE(block, report.end());
  EXPECT_TRUE(lines.contains(QString::fromStdString(block[3]).trimmed())) << block[3];

  QTest::mouseMove(&map(), pixel(map().view().toScreen(scene.track().point(150))));
  EXPECT_TRUE(map().hoverText().isEmpty());
  ASSERT_FALSE(points.isEmpty());
  const int hovered = points.back().front().toInt();
  EXPECT_NEAR(hovered, 150, 3);
  QTest::mouseMove(&map(), QPoint(map().width() - 3, map().height() / 2));
  EXPECT_EQ(points.back().front().toInt(), -1);
}

TEST_F(TripViewTest, ACursorAndAFitToAStretchFromOutside) {
  open();
  const report::Leg& leg = twoStops().trip->results.legs[1];
  map().fitToPoints(leg.first, leg.last);
  EXPECT_EQ(map().view(),
            map::fitView(map().scene().track().box(leg.first, leg.last), map().width(), map().height()));
  const std::uint32_t cursor = (leg.first + leg.last) / 2;
  map().setCursorPoint(cursor);
  const QImage picture = map().picture();
  const QPoint ring = pixel(map().view().toScreen(map().scene().track().point(cursor))) + QPoint(0, -8);
  EXPECT_EQ(QColor(picture.pixel(ring)).name(), kCursorColour.name());
}

TEST_F(TripViewTest, SavePictureWritesWhatTheMapShows) {
  open();
  desktop.savePath = dir.file("trip-map.png");
  QTest::mouseClick(window->btnSavePicture, Qt::LeftButton);
  EXPECT_EQ(desktop.of("save dialog"), std::vector<std::string>{"PNG pictures (*.png)"});
  EXPECT_TRUE(window->SavePictureDialog->selectedFiles().value(0).endsWith(QStringLiteral("trip-map.png")))
      << "the report's folder and name are offered";
  const QImage saved(QString::fromStdString(*desktop.savePath));
  EXPECT_EQ(saved.convertToFormat(QImage::Format_ARGB32_Premultiplied), map().picture());
  EXPECT_TRUE(desktop.of("message").empty());

  desktop.savePath = dir.file("no-such-folder/map.png");
  QTest::mouseClick(window->btnSavePicture, Qt::LeftButton);
  ASSERT_EQ(desktop.of("message").size(), 1U) << "a picture that could not be written is said so";
}

TEST_F(TripViewTest, TheWindowOpensAtTheSizeItWasClosedAt) {
  open("", true);
  window->resize(910, 655);
  window->close();
  EXPECT_EQ(platform::readProfileString(dir.file("Tellurix.ini"), "Map", "WindowWidth"), "910");
  open("", true);
  EXPECT_EQ(window->size(), QSize(910, 655));
}

TEST_F(TripViewTest, WithoutATileServerTheMapSaysSoAndStillShowsTheTrip) {
  open("");
  EXPECT_TRUE(window->lblTileStatus->text().startsWith(QStringLiteral("Map tiles unavailable")));
  const QImage shown = map().grab().toImage();
  const map::ScreenPoint s = map().view().toScreen(map().scene().track().point(150));
  EXPECT_EQ(QColor(shown.pixel(pixel(s))).name(),
            speedClassColour(map().scene().track().speedClass(150)).name());
}

// Network trouble is no reason to interrupt the user: no box, and the map answers at once.
TEST_F(TripViewTest, AFailingTileServerLeavesNoBoxAndTheWindowResponsive) {
  for (const auto mode : {TileServer::Mode::NotFound, TileServer::Mode::Garbage, TileServer::Mode::Silent}) {
    desktop.events.clear();
    SCOPED_TRACE(static_cast<int>(mode));
    TileServer server(mode);
    open(server.urlTemplate());
    QElapsedTimer clock;
    clock.start();
    int zoom = map().view().zoom();
    while (clock.elapsed() < 1200) {
      const int sign = zoom % 2 == 0 ? 1 : -1;
      QTest::keyClick(&map(), sign > 0 ? Qt::Key_Plus : Qt::Key_Minus);
      EXPECT_EQ(map().view().zoom(), zoom + sign);
      zoom = map().view().zoom();
      QTest::qWait(40);
      EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<QMessageBox*>(w), nullptr);
    EXPECT_TRUE(desktop.events.empty()) << desktop.events.front();
    EXPECT_TRUE(window->lblTileStatus->text().startsWith(QStringLiteral("Map tiles unavailable")))
        << window->lblTileStatus->text().toStdString();
    window.reset();
  }
}

}  // namespace
}  // namespace tellurix::tripview

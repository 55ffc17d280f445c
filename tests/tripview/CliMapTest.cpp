#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <filesystem>

#include "TileServer.h"
#include "map/TripFixtures.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"
#include "tripview/MapPainter.h"

namespace tellurix::tripview {
namespace {

namespace fs = std::filesystem;
using testing::TileServer;

struct CliRun {
  int status = -1;
  QString out;
  QString err;
};

// The batch tool, run with no display, while this process serves tiles.
class CliMapTest : public ::testing::Test {
 protected:
  CliMapTest() {
    points = testing::twoStopDrive();
    testing::writeLog(dir.file("LOGDATA.BIN"), points);
  }

  CliRun map(const QStringList& more) {
    QStringList args{QStringLiteral("map"),
                     QStringLiteral("--log"),
                     QString::fromStdString(dir.file("LOGDATA.BIN")),
                     QStringLiteral("--out"),
                     QString::fromStdString(dir.file("out/trip")),
                     QStringLiteral("--start"),
                     QStringLiteral("2010/9/9 0:0:0"),
                     QStringLiteral("--end"),
                     QStringLiteral("2010/9/9 23:59:59")};
    args += more;
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), QString::fromStdString(dir.file("cache")));
    cli.setProcessEnvironment(environment);
    cli.start(QString::fromStdString(testing::builtProgram("tools/cli/tellurix-cli")), args);
    // The tool's tiles come from this process: its events must run while the tool waits.
    while (!cli.waitForFinished(20)) {
      QCoreApplication::processEvents();
      if (cli.state() == QProcess::NotRunning) break;
    }
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            QString::fromUtf8(cli.readAllStandardOutput()), QString::fromUtf8(cli.readAllStandardError())};
  }

  [[nodiscard]] QString png() const { return QString::fromStdString(dir.file("map.png")); }

  testing::TempDir dir;
  std::vector<tracklog::TrackPoint> points;
};

TEST_F(CliMapTest, DrawsTheFittedMapWithTheTilesOfTheFitWithoutADisplay) {
  TileServer server;
  const CliRun run = map({QStringLiteral("--png"), png(), QStringLiteral("--tile-url"),
                          QString::fromStdString(server.urlTemplate())});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, QStringLiteral("Report Done\n"));
  EXPECT_TRUE(fs::exists(dir.path() / "out/2010-09-09/trip-report.txt"));
  const QImage picture(png());
  ASSERT_EQ(picture.size(), QSize(1200, 800));
  const auto reported = testing::reportTrip(points);
  const map::MapView view = map::fitView(map::TrackGeometry(*reported.trip).box(), 1200, 800);
  const std::vector<map::TileId> fitted = map::tilesToLoad(view);
  EXPECT_EQ(server.requestedTiles(), std::set<map::TileId>(fitted.begin(), fitted.end()));
  EXPECT_TRUE(fs::exists(dir.path() / "cache/tellurix/tiles")) << "the user's cache folder";
  // The same picture as the trip view's painter makes of the same report.
  const map::MapScene scene(reported.trip);
  const QImage expected =
      mapPicture(scene, view, nullptr, {QStringLiteral("\u00a9 OpenStreetMap contributors")});
  const QPoint onTrack(static_cast<int>(view.toScreen(scene.track().point(150)).x),
                       static_cast<int>(view.toScreen(scene.track().point(150)).y));
  EXPECT_EQ(picture.pixel(onTrack), expected.pixel(onTrack));
}

TEST_F(CliMapTest, FailedTilesAreCountedOnStderrAndTheExitStatusStaysZero) {
  TileServer server(TileServer::Mode::NotFound);
  const CliRun run = map({QStringLiteral("--png"), png(), QStringLiteral("--size"), QStringLiteral("640x480"),
                          QStringLiteral("--tile-url"), QString::fromStdString(server.urlTemplate())});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(
      QStringLiteral("%1 map tiles could not be loaded").arg(server.requestedTiles().size())))
      << run.err.toStdString();
  EXPECT_EQ(QImage(png()).size(), QSize(640, 480));
}

TEST_F(CliMapTest, NoTilesAsksNoServer) {
  TileServer server;
  const CliRun run = map({QStringLiteral("--png"), png(), QStringLiteral("--no-tiles"),
                          QStringLiteral("--tile-url"), QString::fromStdString(server.urlTemplate())});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_TRUE(server.requests().empty());
  EXPECT_FALSE(QImage(png()).isNull());
}

TEST_F(CliMapTest, RefusesBadSizesAndReportsAPictureThatCannotBeWritten) {
  for (const char* size : {"0x10", "640", "640x", "x480", "20000x10", "640x480x2", "-5x10"}) {
    const CliRun run = map({QStringLiteral("--png"), png(), QStringLiteral("--no-tiles"),
                            QStringLiteral("--size"), QString::fromLatin1(size)});
    EXPECT_EQ(run.status, 64) << size;
    EXPECT_FALSE(fs::exists(dir.path() / "out")) << size << ": no report for a refused command";
  }
  const CliRun unwritable =
      map({QStringLiteral("--png"), QString::fromStdString(dir.file("no/such/folder/map.png")),
           QStringLiteral("--no-tiles")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_TRUE(unwritable.err.contains(QStringLiteral("map.png"))) << unwritable.err.toStdString();
  EXPECT_EQ(map({QStringLiteral("--no-tiles")}).status, 64) << "--png is required";
}

}  // namespace
}  // namespace tellurix::tripview

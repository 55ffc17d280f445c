// The trip view over a full log (131071 points), offscreen, tiles from a local server's
// answers already in the disk cache:
//  - BM_OpenTripView: from the click (the trip's copy taken from the session, the window made
//    and shown) to the end of the map's first paint; the counter tiles_ms is the time until
//    every visible tile has been painted too;
//  - BM_PanFrame: one drag step of the pointer and the repaint it causes, the whole track in view;
//  - BM_ZoomFrame: one wheel notch out or in between the fit and the level below, and its repaint.
// Run: QT_QPA_PLATFORM=offscreen build/release/bench/trip_view_bench --benchmark_repetitions=9
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>

#include "desktop/Desktop.h"
#include "report/ReportRun.h"
#include "tools/demotrack/DemoTrack.h"
#include "tripview/TileLoader.h"
#include "tripview/TileServer.h"  // the tests' local tile server
#include "tripview/TripMapWidget.h"
#include "tripview/TripView.h"

namespace {

namespace fs = std::filesystem;
using tellurix::tracklog::Field;
using namespace tellurix;

constexpr std::uint32_t kFullLog = 131071;

class QuietUi final : public report::ReportUi {
 public:
  explicit QuietUi(std::string path) : path_(std::move(path)) {}
  void saveSettings() override {}
  std::optional<std::string> chooseOutputPath() override { return path_; }
  void showMessage(std::string_view, std::string_view) override {}
  void setStatusText(std::string_view) override {}
  void setStatusColour(report::StatusColour) override {}
  void startBlink() override {}
  void stopBlink() override {}
  void repaint() override {}
  void recordRead() override {}

 private:
  std::string path_;
};

class NoDialogs final : public desktop::Desktop {
 public:
  std::optional<std::string> runSaveDialog(QFileDialog&) override { return std::nullopt; }
  std::vector<std::string> runOpenDialog(QFileDialog&) override { return {}; }
  void showMessage(QWidget*, const QString&, const QString&) override {}
  void showOkCancel(QWidget*, const QString&, const QString&) override {}
  void showError(QWidget*, const QString&) override {}
  bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
  void openFolder(const std::string&) override {}
};

// A full log reported once, a tile server and a warm cache, for all benchmarks.
struct Bench {
  Bench() {
    fs::create_directories(folder);
    demotrack::DemoTrackOptions demo;
    demo.records = kFullLog;
    const std::string log = (folder / "LOGDATA.BIN").string();
    demotrack::writeLogFile(log, demotrack::makeDemoTrack(demo));
    tracklog::FixedFields fields;
    const char* start[] = {"2000", "1", "1", "0", "0", "0"};
    const char* end[] = {"2100", "1", "1", "0", "0", "0"};
    for (int i = 0; i < 6; ++i) {
      fields.set(static_cast<Field>(static_cast<int>(Field::StartYear) + i), start[i]);
      fields.set(static_cast<Field>(static_cast<int>(Field::EndYear) + i), end[i]);
    }
    fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
    QuietUi ui((folder / "out" / "bench").string());
    report::ReportRun(session, fields, ui, {log, kFullLog * 16, ""}).run();
    options.map.tileUrl = server.urlTemplate();
    options.tileCacheFolder = QString::fromStdString((folder / "tiles").string());
    // The first opening fills the cache.
    auto window = open();
    waitForTiles(*window);
  }
  ~Bench() { fs::remove_all(folder); }
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  std::unique_ptr<tripview::TfrmTripView> open() {
    auto trip = std::make_shared<const map::TripData>(map::tripDataOf(session));
    auto window = std::make_unique<tripview::TfrmTripView>(std::move(trip), options, desktop);
    window->resize(1200, 800);
    window->show();
    return window;
  }

  static void waitForTiles(tripview::TfrmTripView& window) {
    while (window.tiles()->busy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    window.pbxMap->repaint();
  }

  fs::path folder = fs::temp_directory_path() / "tellurix-trip-view-bench";
  report::ReportSession session;
  testing::TileServer server;
  tripview::TripViewOptions options;
  NoDialogs desktop;
};

Bench& bench() {
  static Bench b;
  return b;
}

// Ends the first paint of the map it watches, and notes when it ended.
class FirstPaint final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || done) return false;
    watched->removeEventFilter(this);
    watched->event(event);  // the paint itself, so that its end is timed
    done = true;
    return true;
  }
  bool done = false;
};

void BM_OpenTripView(benchmark::State& state) {
  Bench& b = bench();
  double tilesMs = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    FirstPaint watch;
    auto trip = std::make_shared<const map::TripData>(map::tripDataOf(b.session));
    tripview::TfrmTripView window(std::move(trip), b.options, b.desktop);
    window.pbxMap->installEventFilter(&watch);
    window.resize(1200, 800);
    window.show();
    while (!watch.done) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    Bench::waitForTiles(window);
    tilesMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
  }
  state.counters["tiles_ms"] = benchmark::Counter(tilesMs / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_OpenTripView)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PanFrame(benchmark::State& state) {
  Bench& b = bench();
  auto window = b.open();
  Bench::waitForTiles(*window);
  tripview::TripMapWidget& map = *window->pbxMap;
  const QPoint centre(map.width() / 2, map.height() / 2);
  QTest::mousePress(&map, Qt::LeftButton, Qt::NoModifier, centre);
  int step = 0;
  for (auto _ : state) {
    // Small steps to and fro keep the whole track in view.
    const QPoint to = centre + QPoint(step % 2 == 0 ? 3 : 0, step % 2 == 0 ? 2 : 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(map.mapToGlobal(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&map, &move);
    map.repaint();
    ++step;
  }
  QTest::mouseRelease(&map, Qt::LeftButton, Qt::NoModifier, centre);
  state.counters["zoom"] = map.view().zoom();
}
BENCHMARK(BM_PanFrame)->Unit(benchmark::kMillisecond);

void BM_ZoomFrame(benchmark::State& state) {
  Bench& b = bench();
  auto window = b.open();
  Bench::waitForTiles(*window);
  tripview::TripMapWidget& map = *window->pbxMap;
  const QPoint centre(map.width() / 2, map.height() / 2);
  int step = 0;
  for (auto _ : state) {
    QWheelEvent wheel(QPointF(centre), QPointF(map.mapToGlobal(centre)), QPoint(),
                      QPoint(0, step % 2 == 0 ? -120 : 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(&map, &wheel);
    map.repaint();
    ++step;
  }
}
BENCHMARK(BM_ZoomFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

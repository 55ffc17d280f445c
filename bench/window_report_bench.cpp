// Make Report over a full log through the main window (offscreen, its fields read live and
// its events processed) beside the same run through the core with fixed fields.
// Run: QT_QPA_PLATFORM=offscreen build/release/bench/window_report_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "AllocationCounter.h"
#include "desktop/Desktop.h"
#include "logger/LoggerScript.h"
#include "report/ReportRun.h"
#include "shell/Quorvel.h"
#include "tools/demotrack/DemoTrack.h"

namespace {

namespace fs = std::filesystem;
using tellurix::tracklog::Field;

constexpr std::uint32_t kFullLog = 131071;

class BenchDesktop final : public tellurix::desktop::Desktop {
 public:
  explicit BenchDesktop(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> runSaveDialog(QFileDialog&) override { return path_; }
  std::vector<std::string> runOpenDialog(QFileDialog&) override { return {}; }
  void showMessage(QWidget*, const QString&, const QString&) override {}
  void showOkCancel(QWidget*, const QString&, const QString&) override {}
  void showError(QWidget*, const QString&) override {}
  bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
  void openFolder(const std::string&) override {}

 private:
  std::string path_;
};

class QuietUi final : public tellurix::report::ReportUi {
 public:
  explicit QuietUi(std::string path) : path_(std::move(path)) {}
  void saveSettings() override {}
  std::optional<std::string> chooseOutputPath() override { return path_; }
  void showMessage(std::string_view, std::string_view) override {}
  void setStatusText(std::string_view) override {}
  void setStatusColour(tellurix::report::StatusColour) override {}
  void startBlink() override {}
  void stopBlink() override {}
  void repaint() override {}
  void recordRead() override {}

 private:
  std::string path_;
};

struct BenchFolder {
  BenchFolder() {
    fs::create_directories(path);
    tellurix::demotrack::DemoTrackOptions options;
    options.records = kFullLog;
    tellurix::demotrack::writeLogFile(log(), tellurix::demotrack::makeDemoTrack(options));
  }
  ~BenchFolder() { fs::remove_all(path); }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  [[nodiscard]] std::string log() const { return (path / "LOGDATA.BIN").string(); }
  [[nodiscard]] std::string out() const { return (path / "out" / "bench").string(); }

  fs::path path = fs::temp_directory_path() / "tellurix-window-bench";
};

void BM_CoreReport(benchmark::State& state) {
  const BenchFolder folder;
  tellurix::report::ReportSession session;
  tellurix::tracklog::FixedFields fields;
  fields.set(Field::StartYear, "2000");
  fields.set(Field::EndYear, "2100");
  fields.set(Field::TimeZone, "(UTC+08:00) Taipei");
  QuietUi ui(folder.out());
  const tellurix::report::ReportEnvironment environment{folder.log(), kFullLog * 16, ""};
  std::size_t allocations = 0;
  for (auto _ : state) {
    const std::size_t before = tellurix::bench::allocationCount();
    if (tellurix::report::ReportRun(session, fields, ui, environment).run() !=
        tellurix::report::RunOutcome::Done) {
      state.SkipWithError("report not done");
    }
    allocations = tellurix::bench::allocationCount() - before;
  }
  state.counters["points"] = session.store.pointCount;
  state.counters["allocations"] = static_cast<double>(allocations);
}

// The window's download of the log from a scripted logger, run until its completion is shown.
void downloadInto(tellurix::shell::TfrmFilter& window, const std::string& log,
                  tellurix::logger::Clock& clock) {
  std::ifstream in(log, std::ios::binary);
  const tellurix::testing::Bytes records{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
  auto link = std::make_unique<tellurix::testing::ScriptedLink>();
  tellurix::testing::scriptDownload(*link, records);
  if (window.StartDownload(
          [&link](const std::string&) -> tellurix::logger::OpenedLink { return std::move(link); }, clock)) {
    return;
  }
  while (!window.Timer1->isActive()) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void BM_WindowReport(benchmark::State& state) {
  const BenchFolder folder;
  BenchDesktop desktop(folder.out());
  tellurix::testing::RecordingClock clock;
  tellurix::shell::TfrmFilter window(folder.path.string(), desktop);
  window.show();
  downloadInto(window, folder.log(), clock);
  window.cboStartYear->setEditText(QStringLiteral("2000"));
  window.cboEndYear->setEditText(QStringLiteral("2100"));
  std::size_t allocations = 0;
  for (auto _ : state) {
    const std::size_t before = tellurix::bench::allocationCount();
    window.btnOKClick();
    allocations = tellurix::bench::allocationCount() - before;
    if (window.session().store.pointCount != kFullLog) state.SkipWithError("report not done");
  }
  state.counters["points"] = window.session().store.pointCount;
  state.counters["allocations"] = static_cast<double>(allocations);
}

}  // namespace

BENCHMARK(BM_CoreReport)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly();
BENCHMARK(BM_WindowReport)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly();

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

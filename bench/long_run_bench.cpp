// Many Make Report runs in one program run, through the main window offscreen after a scripted
// download of a full log: the process's resident set and the heap in use (mallinfo2) before
// the first run and after runs 1, 10 and the last, to show that runs do not pile up memory.
//   QT_QPA_PLATFORM=offscreen build/release/bench/long_run_bench [RUNS] [RECORDS] [--no-excel]
// Prints one line per moment and a last line "growth" from run 10 to the last run.
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "desktop/Desktop.h"
#include "logger/LoggerScript.h"
#include "shell/Quorvel.h"
#include "tools/demotrack/DemoTrack.h"

namespace {

namespace fs = std::filesystem;

class BenchDesktop final : public tellurix::desktop::Desktop {
 public:
  explicit BenchDesktop(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> runSaveDialog(QFileDialog&) override { return path_; }
  void showMessage(QWidget*, const QString& text, const QString&) override {
    std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
  }
  void showError(QWidget*, const QString& text) override {
    std::fprintf(stderr, "error: %s\n", text.toUtf8().constData());
  }
  std::vector<std::string> runOpenDialog(QFileDialog&) override { return {}; }
  void showOkCancel(QWidget*, const QString&, const QString&) override {}
  bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
  void openFolder(const std::string&) override {}

 private:
  std::string path_;
};

struct Memory {
  long rssKiB = 0;
  long heapKiB = 0;
};

Memory memoryNow() {
  Memory m;
  long pages = 0;
  long resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  m.rssKiB = resident * (sysconf(_SC_PAGESIZE) / 1024);
  m.heapKiB = static_cast<long>(mallinfo2().uordblks / 1024);
  return m;
}

void print(const char* moment, const Memory& m, double seconds) {
  std::printf("%-14s rss_kib=%ld heap_kib=%ld seconds=%.2f\n", moment, m.rssKiB, m.heapKiB, seconds);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int runs = 50;
  std::uint32_t records = 131071;
  bool excel = true;
  int position = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--no-excel") {
      excel = false;
    } else if (position++ == 0) {
      runs = std::atoi(a.c_str());
    } else {
      records = static_cast<std::uint32_t>(std::strtoul(a.c_str(), nullptr, 10));
    }
  }

  const fs::path folder = fs::temp_directory_path() / ("tellurix-long-run-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  tellurix::demotrack::DemoTrackOptions options;
  options.records = records;
  const fs::path memory = folder / "memory.bin";
  tellurix::demotrack::writeLogFile(memory.string(), tellurix::demotrack::makeDemoTrack(options));
  tellurix::testing::Bytes bytes;
  {
    std::ifstream in(memory, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  int status = 0;
  {
    BenchDesktop desktop((folder / "out" / "trip").string());
    tellurix::testing::RecordingClock clock;
    tellurix::shell::TfrmFilter window(folder.string(), desktop);
    window.show();
    auto link = std::make_unique<tellurix::testing::ScriptedLink>();
    tellurix::testing::scriptDownload(*link, bytes);
    bytes.clear();
    bytes.shrink_to_fit();
    if (window.StartDownload(
            [&link](const std::string&) -> tellurix::logger::OpenedLink { return std::move(link); }, clock)) {
      return 1;
    }
    while (!window.Timer1->isActive()) {
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // The whole log, in the first run's zone.
    window.cboStartYear->setEditText(QStringLiteral("2000"));
    window.cboEndYear->setEditText(QStringLiteral("2100"));
    window.chkGpsSpeedChart->setChecked(excel);

    std::printf("runs=%d records=%u excel=%s\n", runs, records, excel ? "yes" : "no");
    print("before", memoryNow(), 0);
    Memory tenth;
    Memory last;
    const auto started = std::chrono::steady_clock::now();
    for (int run = 1; run <= runs; ++run) {
      // As the user clicks it: a message or error box is printed, and the run is not done.
      window.btnOK->click();
      if (window.lblStatus->text() != QStringLiteral("Report Done") ||
          window.session().store.pointCount != records) {
        std::fprintf(stderr, "run %d: not done (%s)\n", run, window.lblStatus->text().toUtf8().constData());
        status = 1;
        break;
      }
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      if (run == 1 || run == 10 || run == runs) {
        const Memory now = memoryNow();
        const std::string moment = "after_run_" + std::to_string(run);
        print(moment.c_str(), now, seconds);
        if (run == 10) tenth = now;
        last = now;
      }
    }
    if (status == 0 && runs > 10) {
      std::printf("growth_10_to_%d rss_kib=%ld heap_kib=%ld\n", runs, last.rssKiB - tenth.rssKiB,
                  last.heapKiB - tenth.heapKiB);
    }
  }
  fs::remove_all(folder);
  return status;
}

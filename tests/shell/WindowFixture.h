#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ScriptedDesktop.h"
#include "logger/LoggerScript.h"
#include "logger/ScriptedLink.h"
#include "shell/Quorvel.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::testing {

// A main window on a temporary program folder, with scripted dialogs and, once its download
// starts, a scripted logger on its line.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() { desktop.savePath = dir.file("out/trip"); }

  // A new window; the previous one and its download go first.
  shell::TfrmFilter& open() {
    window.reset();
    link = nullptr;
    window = std::make_unique<shell::TfrmFilter>(dir.path().string(), desktop);
    return *window;
  }

  // Starts the window's download; `script` plays the logger's part on the line before the
  // probe looks at it. False when the program was to end before its event loop.
  bool startDownload(const std::function<void(ScriptedLink&)>& script) {
    return startDownload(script, clock);
  }
  bool startDownload(const std::function<void(ScriptedLink&)>& script, logger::Clock& withClock) {
    auto scripted = std::make_unique<ScriptedLink>();
    link = scripted.get();
    script(*scripted);
    return !window
                ->StartDownload(
                    [&scripted](const std::string&) -> logger::OpenedLink { return std::move(scripted); },
                    withClock)
                .has_value();
  }

  // Runs the window's events (its timers, the reader's posted changes) until `done` holds.
  static bool runUntil(const std::function<bool()>& done,
                       std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  // The program's event loop, as main runs it, with `inside` run first in it: the exit code the
  // loop was asked to end with (Close, a fatal error), or nothing when `limit` passed first.
  static std::optional<int> runEventLoop(const std::function<void()>& inside,
                                         std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    constexpr int kTimedOut = -12345;
    QTimer::singleShot(0, inside);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(kTimedOut); });
    watchdog.start(limit);
    const int code = QCoreApplication::exec();
    if (code == kTimedOut) return std::nullopt;
    return code;
  }

  // A whole download of these points through the window's sequence, run until its
  // completion has reached the window; Timer1 then waits for the user id, which comes next
  // when there is one.
  void download(const std::vector<tracklog::TrackPoint>& points,
                const std::optional<std::string>& userId = std::nullopt) {
    ASSERT_TRUE(startDownload([&](ScriptedLink& l) { scriptDownload(l, recordsOf(points), userId); }));
    ASSERT_TRUE(runUntil([&] { return window->Timer1->isActive(); }))
        << "the download stopped at " << status();
  }

  void writeSettings(const std::string& text) { writeFile(dir.path() / "Tellurix.ini", text); }
  [[nodiscard]] std::string settings() const { return readFile(dir.path() / "Tellurix.ini"); }

  [[nodiscard]] QColor statusColour() const {
    return window->lblStatus->palette().color(QPalette::WindowText);
  }
  [[nodiscard]] std::string status() const { return window->lblStatus->text().toStdString(); }

  // The enabled state of the seven commands: Make Report, Close, SetTimeZone, Clear, Reset,
  // View Report, Tagging, as "1"/"0".
  [[nodiscard]] std::string commandStates() const {
    std::string states;
    for (const QPushButton* b : {window->btnOK, window->btnClose, window->btnSetTimeZone, window->btnClear,
                                 window->btnReset, window->btnViewReport, window->btnTagging}) {
      states += b->isEnabled() ? '1' : '0';
    }
    return states;
  }

  TempDir dir;
  ScriptedDesktop desktop;
  RecordingClock clock;  // the sequence's waits take a millisecond
  std::unique_ptr<shell::TfrmFilter> window;
  ScriptedLink* link = nullptr;  // the window's line, once its download has started
};

// Points one second apart driving north from 2010-09-09 02:00:05 UTC (10:00:05 in Taipei).
inline std::vector<tracklog::TrackPoint> shortDrive(int count = 30) {
  return straightDrive(fix(25.0339, 121.5645, 36, 2010, 9, 9, 2, 0, 5), count, 10, 36);
}

}  // namespace tellurix::testing

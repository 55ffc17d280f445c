#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedDesktop.h"
#include "shell/DownloadStandIn.h"
#include "shell/Quorvel.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::testing {

// A main window on a temporary program folder, with scripted dialogs.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() { desktop.savePath = dir.file("out/trip"); }

  shell::TfrmFilter& open() {
    window = std::make_unique<shell::TfrmFilter>(dir.path().string(), desktop);
    return *window;
  }

  // The window as a finished download of these points leaves it.
  void download(const std::vector<tracklog::TrackPoint>& points) {
    writeLog(dir.file("logger.bin"), points);
    ASSERT_TRUE(shell::standInForDownload(*window, dir.file("logger.bin")));
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
  std::unique_ptr<shell::TfrmFilter> window;
};

// Points one second apart driving north from 2010-09-09 02:00:05 UTC (10:00:05 in Taipei).
inline std::vector<tracklog::TrackPoint> shortDrive(int count = 30) {
  return straightDrive(fix(25.0339, 121.5645, 36, 2010, 9, 9, 2, 0, 5), count, 10, 36);
}

}  // namespace tellurix::testing

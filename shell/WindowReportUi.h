#pragma once

#include "report/ReportUi.h"

namespace tellurix::desktop {
class Desktop;
}

namespace tellurix::shell {

class TfrmFilter;

// A report run's window side: the settings, SaveDialog1, message boxes, the status line and
// its blink, and the window's events while the log is read.
class WindowReportUi final : public report::ReportUi {
 public:
  WindowReportUi(TfrmFilter& window, desktop::Desktop& desktop) : window_(window), desktop_(desktop) {}

  void saveSettings() override;
  std::optional<std::string> chooseOutputPath() override;
  void showMessage(std::string_view text, std::string_view caption) override;
  void setStatusText(std::string_view text) override;
  void setStatusColour(report::StatusColour colour) override;
  void startBlink() override;
  void stopBlink() override;
  void repaint() override;
  void recordRead() override;

 private:
  TfrmFilter& window_;
  desktop::Desktop& desktop_;
};

}  // namespace tellurix::shell

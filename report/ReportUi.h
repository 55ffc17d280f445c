#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellurix::report {

enum class StatusColour { Black, Red, Navy };

// What a report run needs from its window: the settings hook, the save dialog, message boxes,
// the status line with its blink, and a chance to process events once per record.
class ReportUi {
 public:
  virtual ~ReportUi() = default;

  // Stores "Over Speed", "Unit", "Time Period" and the chart preference, before any check.
  virtual void saveSettings() = 0;
  // The path chosen in the save dialog, or nothing when the user cancels.
  virtual std::optional<std::string> chooseOutputPath() = 0;
  // A modal box with one OK button; an empty caption means a plain box under the program's name.
  virtual void showMessage(std::string_view text, std::string_view caption) = 0;

  virtual void setStatusText(std::string_view text) = 0;
  virtual void setStatusColour(StatusColour colour) = 0;
  virtual void startBlink() = 0;
  virtual void stopBlink() = 0;
  virtual void repaint() = 0;
  // Called once per record read from the log file.
  virtual void recordRead() = 0;
};

}  // namespace tellurix::report

#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "report/ReportUi.h"

namespace tellurix::testing {

// The status line as the window shows it.
struct StatusLine {
  std::string text;
  report::StatusColour colour = report::StatusColour::Black;
  bool blinking = false;
  bool operator==(const StatusLine&) const = default;
};
inline void PrintTo(const StatusLine& line, std::ostream* os) {
  static const char* const colours[] = {"black", "red", "navy"};
  *os << '"' << line.text << "\" in " << colours[static_cast<int>(line.colour)]
      << (line.blinking ? ", blinking" : "");
}

// A message box and the status line the user sees behind it.
struct ShownMessage {
  std::string message;  // "caption|text"
  StatusLine behind;
  bool operator==(const ShownMessage&) const = default;
};
inline void PrintTo(const ShownMessage& shown, std::ostream* os) {
  *os << '"' << shown.message << "\" over ";
  PrintTo(shown.behind, os);
}

// A ReportUi that answers the save dialog with a fixed path and keeps what the window would
// show: the status line, what it looked like each time the window drew itself, and the
// message boxes. It also records every call as lines such as "message Input Error|Invalid
// Value" or "status Report Done".
class RecordingReportUi final : public report::ReportUi {
 public:
  explicit RecordingReportUi(std::optional<std::string> outputPath) : outputPath_(std::move(outputPath)) {}

  // A new command in the same window: the record starts afresh, the status line stays as the
  // last command left it.
  void nextCommand(std::optional<std::string> outputPath) {
    outputPath_ = std::move(outputPath);
    events.clear();
    drawn.clear();
    shown.clear();
    settingsSaved = 0;
    dialogsShown = 0;
    recordsRead = 0;
  }

  void saveSettings() override {
    events.emplace_back("save settings");
    ++settingsSaved;
  }
  std::optional<std::string> chooseOutputPath() override {
    events.emplace_back("save dialog");
    ++dialogsShown;
    return outputPath_;
  }
  void showMessage(std::string_view text, std::string_view caption) override {
    events.push_back("message " + std::string(caption) + "|" + std::string(text));
    shown.push_back({std::string(caption) + "|" + std::string(text), status});
  }
  void setStatusText(std::string_view text) override {
    events.push_back("status " + std::string(text));
    status.text = text;
  }
  void setStatusColour(report::StatusColour colour) override {
    static const char* const names[] = {"black", "red", "navy"};
    events.push_back(std::string("colour ") + names[static_cast<int>(colour)]);
    status.colour = colour;
  }
  void startBlink() override {
    events.emplace_back("blink on");
    status.blinking = true;
  }
  void stopBlink() override {
    events.emplace_back("blink off");
    status.blinking = false;
  }
  void repaint() override {
    events.emplace_back("repaint");
    drawn.push_back(status);
  }
  // The window processes its events, and so draws itself, once per record.
  void recordRead() override {
    ++recordsRead;
    drawn.push_back(status);
  }

  [[nodiscard]] std::vector<std::string> messages() const {
    std::vector<std::string> out;
    for (const auto& s : shown) out.push_back(s.message);
    return out;
  }

  StatusLine status;
  std::vector<StatusLine> drawn;
  std::vector<ShownMessage> shown;
  std::vector<std::string> events;
  int settingsSaved = 0;
  int dialogsShown = 0;
  int recordsRead = 0;

 private:
  std::optional<std::string> outputPath_;
};

}  // namespace tellurix::testing

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/ReportUi.h"

namespace tellurix::testing {

// A ReportUi that answers the save dialog with a fixed path and records everything else as
// lines such as "message Input Error|Invalid Value" or "status Report Done".
class RecordingReportUi final : public report::ReportUi {
 public:
  explicit RecordingReportUi(std::optional<std::string> outputPath) : outputPath_(std::move(outputPath)) {}

  void saveSettings() override { events.emplace_back("save settings"); }
  std::optional<std::string> chooseOutputPath() override {
    events.emplace_back("save dialog");
    return outputPath_;
  }
  void showMessage(std::string_view text, std::string_view caption) override {
    events.push_back("message " + std::string(caption) + "|" + std::string(text));
  }
  void setStatusText(std::string_view text) override { events.push_back("status " + std::string(text)); }
  void setStatusColour(report::StatusColour colour) override {
    static const char* const names[] = {"black", "red", "navy"};
    events.push_back(std::string("colour ") + names[static_cast<int>(colour)]);
  }
  void startBlink() override { events.emplace_back("blink on"); }
  void stopBlink() override { events.emplace_back("blink off"); }
  void repaint() override { events.emplace_back("repaint"); }
  void recordRead() override { ++recordsRead; }

  [[nodiscard]] std::vector<std::string> messages() const {
    std::vector<std::string> out;
    for (const auto& e : events) {
      if (e.rfind("message ", 0) == 0) out.push_back(e.substr(8));
    }
    return out;
  }

  std::vector<std::string> events;
  int recordsRead = 0;

 private:
  std::optional<std::string> outputPath_;
};

}  // namespace tellurix::testing

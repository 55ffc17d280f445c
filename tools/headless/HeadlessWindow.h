#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "logger/DownloadSequence.h"
#include "logger/DownloadView.h"
#include "logger/JobQueue.h"
#include "tracklog/Errors.h"

namespace tellurix::headless {

const char* NameOf(logger::CommandButton button);

// The main window without a window, for tools, tests and benchmarks: it keeps what a window
// would show, runs the timers the sequence starts (at the intervals of logger::kDownloadTimers)
// and the jobs posted to it, all on the thread that calls RunUntil.
class HeadlessWindow final : public logger::DownloadView {
 public:
  HeadlessWindow() = default;
  HeadlessWindow(const HeadlessWindow&) = delete;
  HeadlessWindow& operator=(const HeadlessWindow&) = delete;
  HeadlessWindow(HeadlessWindow&&) = delete;
  HeadlessWindow& operator=(HeadlessWindow&&) = delete;
  ~HeadlessWindow() override = default;

  // The window's "post to the window thread"; safe from any thread.
  logger::PostToWindow Poster() { return jobs_.Poster(); }

  // Fires the due timers of `sequence` and runs posted jobs until `done()` holds (checked after
  // each of them), a FatalError escapes (kept in `fatal`), or `limit` has passed. Returns done().
  bool RunUntil(logger::DownloadSequence& sequence, const std::function<bool()>& done,
                std::chrono::milliseconds limit);

  [[nodiscard]] bool TimerRunning(logger::DownloadTimer timer) const { return due_.count(timer) != 0; }

  // DownloadView
  void StartTimer(logger::DownloadTimer timer) override;
  void StopTimer(logger::DownloadTimer timer) override;
  void EnableButton(logger::CommandButton button) override;
  void LoadChartPreference() override;
  void SetStatusText(std::string_view text) override;
  void SetStatusColour(logger::StatusColour colour) override;
  void ProcessMessages() override {}
  void SetProgress(int percent) override;
  void SetRecordCountText(std::string_view text) override;
  void SetPercentageText(std::string_view text) override;
  void SetUserId(std::string_view text) override;
  void FillFilterFromLog(const logger::LogTime& start, const logger::LogTime& end) override;
  void SaveResetSnapshot() override;
  bool Ask(std::string_view text, std::string_view caption) override;

  // What the window shows.
  std::string status = "Data Reading......";
  logger::StatusColour statusColour = logger::StatusColour::Black;
  int progress = 0;
  std::string recordCount;
  std::string percentage;
  std::string userId;
  std::vector<logger::CommandButton> enabled;
  bool chartPreferenceLoaded = false;
  // The log's span as FillFilterFromLog was given it; the filter shows it unshifted, in UTC.
  logger::LogTime logStart = logger::EmptyLogTime();
  logger::LogTime logEnd = logger::EmptyLogTime();
  std::array<std::string, 12> filter{"2000", "1", "1", "0", "0", "0", "2000", "1", "1", "0", "0", "0"};
  std::optional<std::array<std::string, 12>> resetFilter;  // what Reset would restore
  std::optional<tracklog::FatalError> fatal;

  // The answer Ask gives, and the questions asked ("caption: text").
  bool answer = true;
  std::vector<std::string> questions;

  // Every change the sequence made, in order ("StartTimer Timer2", "Status 100% Read Complete"),
  // except the progress of Timer3, which would swamp it. `observer` sees each one as it happens.
  std::vector<std::string> events;
  std::function<void(const std::string& event)> observer;

 private:
  using Clock = std::chrono::steady_clock;
  void note(std::string event);
  bool runPosted();

  logger::JobQueue jobs_;
  std::map<logger::DownloadTimer, Clock::time_point> due_;
};

}  // namespace tellurix::headless

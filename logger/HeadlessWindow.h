#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "DownloadSequence.h"
#include "DownloadView.h"
#include "tracklog/Errors.h"

namespace tellurix::logger {

const char* NameOf(DownloadTimer timer);
const char* NameOf(CommandButton button);

// The main window without a window, for tools, tests and benchmarks: it keeps what a window
// would show, runs the timers the sequence starts and the jobs posted to it, all on the thread
// that calls RunUntil.
class HeadlessWindow final : public DownloadView {
 public:
  HeadlessWindow() = default;
  HeadlessWindow(const HeadlessWindow&) = delete;
  HeadlessWindow& operator=(const HeadlessWindow&) = delete;

  // The window's "post to the window thread"; safe from any thread.
  PostToWindow Poster();

  // Fires the due timers of `sequence` and runs posted jobs until `done()` holds (checked after
  // each of them), a FatalError escapes (kept in `fatal`), or `limit` has passed. Returns done().
  bool RunUntil(DownloadSequence& sequence, const std::function<bool()>& done,
                std::chrono::milliseconds limit);

  [[nodiscard]] bool TimerRunning(DownloadTimer timer) const { return due_.count(timer) != 0; }

  // DownloadView
  void StartTimer(DownloadTimer timer) override;
  void StopTimer(DownloadTimer timer) override;
  void EnableButton(CommandButton button) override;
  void LoadChartPreference() override;
  void SetStatusText(std::string_view text) override;
  void SetStatusColour(StatusColour colour) override;
  void ProcessMessages() override {}
  void SetProgress(int percent) override;
  void SetRecordCountText(std::string_view text) override;
  void SetPercentageText(std::string_view text) override;
  void SetUserId(std::string_view text) override;
  void FillFilterFromLog(const LogTime& start, const LogTime& end) override;
  void SaveResetSnapshot(FilterSnapshot& snapshot) override;
  bool Ask(std::string_view text, std::string_view caption) override;

  // What the window shows.
  std::string status = "Data Reading......";
  StatusColour statusColour = StatusColour::Black;
  int progress = 0;
  std::string recordCount;
  std::string percentage;
  std::string userId;
  std::vector<CommandButton> enabled;
  bool chartPreferenceLoaded = false;
  std::array<std::string, 12> filter{"2000", "1", "1", "0", "0", "0", "2000", "1", "1", "0", "0", "0"};
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
  void fire(DownloadSequence& sequence, DownloadTimer timer);

  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<WindowJob> jobs_;
  std::map<DownloadTimer, Clock::time_point> due_;
};

}  // namespace tellurix::logger

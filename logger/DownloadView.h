#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "DownloadCounters.h"

namespace tellurix::logger {

// The main window's timers that carry the download.
enum class DownloadTimer : std::uint8_t { Timer2, QueryRecord, Timer3, Timer1 };

// Each timer's control name and interval, in the order of DownloadTimer. The window and its
// headless stand-in both run their timers from this table.
struct DownloadTimerEntry {
  DownloadTimer timer;
  const char* name;
  std::chrono::milliseconds interval;
};
inline constexpr std::array<DownloadTimerEntry, 4> kDownloadTimers{{
    {DownloadTimer::Timer2, "Timer2", std::chrono::milliseconds(100)},
    {DownloadTimer::QueryRecord, "tmrQueryRecord", std::chrono::milliseconds(100)},
    {DownloadTimer::Timer3, "Timer3", std::chrono::milliseconds(20)},
    {DownloadTimer::Timer1, "Timer1", std::chrono::milliseconds(1000)},
}};
static_assert(
    [] {
      for (std::size_t i = 0; i < kDownloadTimers.size(); ++i) {
        if (static_cast<std::size_t>(kDownloadTimers[i].timer) != i) return false;
      }
      return true;
    }(),
    "kDownloadTimers is indexed by DownloadTimer");

constexpr const DownloadTimerEntry& EntryOf(DownloadTimer timer) {
  return kDownloadTimers[static_cast<std::size_t>(timer)];
}
constexpr std::chrono::milliseconds IntervalOf(DownloadTimer timer) {
  return EntryOf(timer).interval;
}
constexpr const char* NameOf(DownloadTimer timer) {
  return EntryOf(timer).name;
}

// The buttons the completion enables, in the order it enables them.
enum class CommandButton : std::uint8_t { Ok, Close, SetTimeZone, Clear, Reset };

enum class StatusColour : std::uint8_t { Black, Red };

// What the download needs from the main window. Every call comes on the window thread: the
// sequence's entries run there, and the reader's changes arrive as posted jobs.
class DownloadView {
 public:
  virtual ~DownloadView() = default;

  virtual void StartTimer(DownloadTimer timer) = 0;
  virtual void StopTimer(DownloadTimer timer) = 0;
  virtual void EnableButton(CommandButton button) = 0;
  // LoadChartPreference: sets "Excel Reports" from the stored preference.
  virtual void LoadChartPreference() = 0;

  virtual void SetStatusText(std::string_view text) = 0;  // lblStatus
  virtual void SetStatusColour(StatusColour colour) = 0;
  virtual void ProcessMessages() = 0;                          // let the window handle what is pending
  virtual void SetProgress(int percent) = 0;                   // proStatus, 0..100
  virtual void SetRecordCountText(std::string_view text) = 0;  // lblLogShow
  virtual void SetPercentageText(std::string_view text) = 0;   // lblPercentageShow
  virtual void SetUserId(std::string_view text) = 0;           // lblUserID

  // FillFilterFromLog with the log's span (UTC), which the window keeps for SetTimeZone; then
  // the window takes the snapshot that Reset goes back to.
  virtual void FillFilterFromLog(const LogTime& start, const LogTime& end) = 0;
  virtual void SaveResetSnapshot() = 0;

  // A Yes/No question; true for Yes.
  virtual bool Ask(std::string_view text, std::string_view caption) = 0;
};

// Runs a job on the window thread later, in the order of posting; callable from any thread.
// A job may throw tracklog::FatalError: the window shows its message and ends the program
// with its exit code, as for the same error thrown by an entry of the sequence.
using WindowJob = std::function<void()>;
using PostToWindow = std::function<void(WindowJob)>;

// The waits of the sequence and the reader's rhythm; tests shorten them.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual void SleepFor(std::chrono::milliseconds duration) = 0;
};

class SystemClock final : public Clock {
 public:
  void SleepFor(std::chrono::milliseconds duration) override;
};

}  // namespace tellurix::logger

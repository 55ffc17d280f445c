#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>

#include "DownloadCounters.h"

namespace tellurix::logger {

// The main window's timers that carry the download, with their intervals.
enum class DownloadTimer : std::uint8_t { Timer2, QueryRecord, Timer3, Timer1 };
inline constexpr std::chrono::milliseconds kTimer2Interval{100};
inline constexpr std::chrono::milliseconds kQueryRecordInterval{100};
inline constexpr std::chrono::milliseconds kTimer3Interval{20};
inline constexpr std::chrono::milliseconds kTimer1Interval{1000};
std::chrono::milliseconds IntervalOf(DownloadTimer timer);

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

  // FillFilterFromLog with the log's span (UTC), then the snapshot Reset goes back to.
  virtual void FillFilterFromLog(const LogTime& start, const LogTime& end) = 0;
  virtual void SaveResetSnapshot(FilterSnapshot& snapshot) = 0;

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

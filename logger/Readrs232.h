#pragma once

// The logger link: the download that runs at every start, and the reader thread TRead232.
//
// Wiring a window to it (all entries below run on the window thread; shell/WindowDownload
// does it for the main window, tools/headless/HeadlessWindow without one):
//
//   creation   The window gets its LoggerLink (platform::openLoggerPort finds and opens the
//              port). A LinkFailure is shown as a message box (text, caption, OK) and the
//              program ends with its exitCode.
//              Then construct DownloadSequence(link, view, post, clock, ProgramFolder) and
//              call Probe() before the window is first shown: it waits 1 to 3 s.
//   timers     Each DownloadView::StartTimer/StopTimer starts or stops one window timer, named
//              and timed as kDownloadTimers (DownloadView.h) says; each tick calls Tick(timer).
//   btnClear   -> Clear()    (it asks through DownloadView::Ask)
//   btnClose   -> Close(), then end the program with exit code 0.
//   post       PostToWindow runs a job on the window thread later, in posting order (a
//              JobQueue). The reader posts the completion's window changes through it and does
//              not wait for them. Run a job only while no entry or job is running: Timer3Tick
//              processes messages in its middle, and a completion run inside it would have its
//              texts overwritten by the tick's rest.
//   errors     tracklog::FatalError, thrown by an entry or by a posted job: stop the timers and
//              the jobs, show its message in a message box and end the program with its
//              exitCode.
//
// The window reads DownloadSequence::Counters() for ReceivedByteCount (Make Report refuses
// while it is 0), StoredRecordCount and UserId; it keeps the log's span and the Reset
// snapshot itself.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "DownloadSequence.h"
#include "DownloadView.h"
#include "LoggerFrame.h"
#include "LoggerLink.h"
#include "PacketBuffer.h"

namespace tellurix::logger {

enum class ReaderEnd : std::uint8_t {
  Running,    // not finished (or not resumed yet)
  Completed,  // ReadEnd arrived; the completion ran
  Overrun,    // more was waiting than one read may take: the receive queue was dropped
  LineLost,   // the port reported an error (the cable pulled)
  Stopped,    // asked to stop by its owner
};

// The reader thread of the download: reassembles the data packets into the log file and runs
// the completion. It is created idle, resumed once, and polls the port every 20 ms.
class TRead232 {
 public:
  static constexpr std::chrono::milliseconds kRhythm{20};

  TRead232(LoggerLink& link, Clock& clock, PacketBuffer::PayloadSink payload,
           std::function<void()> completion);
  // Asks the body to stop and waits for it.
  ~TRead232();
  TRead232(const TRead232&) = delete;
  TRead232& operator=(const TRead232&) = delete;
  TRead232(TRead232&&) = delete;
  TRead232& operator=(TRead232&&) = delete;

  // Starts the thread body; later calls do nothing.
  void Resume();
  void Stop();

  [[nodiscard]] ReaderEnd End() const { return end_.load(); }
  [[nodiscard]] bool Finished() const { return end_.load() != ReaderEnd::Running; }
  // The body's processor time (user and system), known once it has finished.
  [[nodiscard]] std::chrono::microseconds CpuTime() const {
    return std::chrono::microseconds(cpuMicros_.load());
  }
  [[nodiscard]] std::uint32_t Rounds() const { return rounds_.load(); }

 private:
  void Execute(const std::stop_token& stop);
  ReaderEnd readUntilDone(const std::stop_token& stop);

  LoggerLink& link_;
  Clock& clock_;
  PacketBuffer::PayloadSink payload_;
  std::function<void()> completion_;
  PacketBuffer buffer_;
  std::array<std::uint8_t, PacketBuffer::kMaxBlock + 1> block_{};
  std::atomic<ReaderEnd> end_{ReaderEnd::Running};
  std::atomic<std::int64_t> cpuMicros_{0};
  std::atomic<std::uint32_t> rounds_{0};
  std::jthread thread_;
};

}  // namespace tellurix::logger

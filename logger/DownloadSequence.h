#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "DownloadCounters.h"
#include "DownloadView.h"
#include "LoggerLink.h"

namespace tellurix::logger {

class TRead232;

enum class DownloadPhase : std::uint8_t {
  Probing,      // before Probe()
  AwaitAck,     // Timer2
  AwaitCount,   // tmrQueryRecord
  Reading,      // the reader and Timer3
  Complete,     // the reader's completion is running
  AwaitUserId,  // Timer1; the commands are enabled
  Ready,
  Stalled,  // the download went no further; the window keeps what it shows
};

// The download that runs once at every start: command mode, record count, the transfer at
// 921600 baud into LOGDATA.BIN, completion, user id; and the Clear command. Each entry is one
// timer tick or command of the window (see Readrs232.h for the wiring).
//
// The transfer goes to LOGDATA.BIN.part beside LOGDATA.BIN and replaces LOGDATA.BIN only
// when it completes, so a download that stalls or loses its cable leaves the previous log.
class DownloadSequence {
 public:
  DownloadSequence(LoggerLink& link, DownloadView& view, PostToWindow post, Clock& clock,
                   std::string programFolder);
  // Stops the reader; an unfinished transfer's file is removed.
  ~DownloadSequence();
  DownloadSequence(const DownloadSequence&) = delete;
  DownloadSequence& operator=(const DownloadSequence&) = delete;
  DownloadSequence(DownloadSequence&&) = delete;
  DownloadSequence& operator=(DownloadSequence&&) = delete;

  // Start-up, before the window is shown: waits 1 s, switches a streaming logger into command
  // mode (and waits 2 s more), starts Timer2 and loads the chart preference.
  void Probe();
  void Timer2Tick();
  void QueryRecordTick();
  void Timer3Tick();
  void Timer1Tick();
  // The tick of `timer`, one of the four above.
  void Tick(DownloadTimer timer);
  // btnClear: erases the logger's memory after the user agrees.
  void Clear();
  // btnClose: stops the reader and closes the port.
  void Close();

  [[nodiscard]] DownloadCounters& Counters() { return counters_; }
  [[nodiscard]] const DownloadCounters& Counters() const { return counters_; }
  [[nodiscard]] DownloadPhase Phase() const;
  [[nodiscard]] const TRead232* Reader() const { return reader_.get(); }
  [[nodiscard]] std::string LogPath() const { return folder_ + "/LOGDATA.BIN"; }
  [[nodiscard]] std::string PartPath() const { return LogPath() + ".part"; }

  // The reads of the window's steps take at most this; more waiting is dropped.
  static constexpr std::size_t kWindowBlock = 4096;

 private:
  void writeFrame(std::span<const std::uint8_t> frame);
  // The bytes waiting, or nothing when more than a window block waited (they are dropped).
  std::optional<std::span<const std::uint8_t>> readWindowBlock();
  void setProgressBar(std::uint32_t percent);
  void writePayload(const std::uint8_t* payload, std::size_t size);
  void complete();
  bool commitLog();
  // The first and the last record's time; the empty log's for a log without records.
  std::pair<LogTime, LogTime> readLogSpan(std::FILE* log);
  void post(WindowJob job) { post_(std::move(job)); }

  LoggerLink& link_;
  DownloadView& view_;
  PostToWindow post_;
  Clock& clock_;
  std::string folder_;
  DownloadCounters counters_;
  std::atomic<DownloadPhase> phase_{DownloadPhase::Probing};
  std::unique_ptr<TRead232> reader_;
  std::FILE* part_ = nullptr;  // the transfer's file; the reader's alone once it runs
  bool partWriteFailed_ = false;
  std::vector<std::uint8_t> windowBlock_;
  std::vector<std::uint8_t> userIdCarry_;
  int progressPosition_ = 0;  // what the progress bar shows
};

}  // namespace tellurix::logger

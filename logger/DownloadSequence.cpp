#include "DownloadSequence.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>

#include "LoggerFrame.h"
#include "Readrs232.h"
#include "tracklog/Errors.h"
#include "tracklog/LogRecord.h"

namespace tellurix::logger {
namespace {

using namespace std::chrono_literals;
using tracklog::FatalError;

constexpr const char* kWriteOpenError = "BINFILE file write open error";
constexpr const char* kReadOpenError = "file read open error";
constexpr std::size_t kUserIdReplyLength = 4 + kUserIdLength + 3;

constexpr std::array<CommandButton, 5> kCompletionButtons{CommandButton::Ok, CommandButton::Close,
                                                          CommandButton::SetTimeZone, CommandButton::Clear,
                                                          CommandButton::Reset};

}  // namespace

DownloadSequence::DownloadSequence(LoggerLink& link, DownloadView& view, PostToWindow post, Clock& clock,
                                   std::string programFolder)
    : link_(link), view_(view), post_(std::move(post)), clock_(clock), folder_(std::move(programFolder)) {
  windowBlock_.reserve(kWindowBlock);
}

DownloadSequence::~DownloadSequence() {
  reader_.reset();
  if (part_ != nullptr) {
    std::fclose(part_);
    std::remove(PartPath().c_str());
  }
}

DownloadPhase DownloadSequence::Phase() const {
  const DownloadPhase phase = phase_.load();
  // An overrun or a lost line ends the reader without a completion.
  if (phase == DownloadPhase::Reading && reader_ && reader_->Finished() &&
      reader_->End() != ReaderEnd::Completed) {
    return DownloadPhase::Stalled;
  }
  return phase;
}

void DownloadSequence::writeFrame(std::span<const std::uint8_t> frame) {
  // One byte per write, first byte first, as the logger takes its commands.
  for (const std::uint8_t& byte : frame) link_.Write(&byte, 1);
}

std::optional<std::span<const std::uint8_t>> DownloadSequence::readWindowBlock() {
  const std::size_t waiting = link_.BytesWaiting().value_or(0);
  if (waiting > kWindowBlock) {
    link_.DiscardInput();
    return std::nullopt;
  }
  windowBlock_.resize(waiting);
  if (waiting > 0 && !link_.Read(windowBlock_.data(), waiting)) windowBlock_.clear();
  return std::span<const std::uint8_t>(windowBlock_);
}

void DownloadSequence::Probe() {
  if (phase_ != DownloadPhase::Probing) return;
  clock_.SleepFor(1000ms);
  const auto block = readWindowBlock();
  if (!block) {
    phase_ = DownloadPhase::Stalled;
    return;
  }
  if (HasNmeaStream(*block)) {
    link_.Write(reinterpret_cast<const std::uint8_t*>(kCommandModeSwitch.data()), kCommandModeSwitch.size());
    clock_.SleepFor(2000ms);
  }
  phase_ = DownloadPhase::AwaitAck;
  view_.StartTimer(DownloadTimer::Timer2);
  view_.LoadChartPreference();
  reader_ = std::make_unique<TRead232>(
      link_, clock_, [this](const std::uint8_t* payload, std::size_t size) { writePayload(payload, size); },
      [this] { complete(); });
}

void DownloadSequence::Timer2Tick() {
  if (phase_ != DownloadPhase::AwaitAck) return;
  const auto block = readWindowBlock();
  if (!block) return;  // dropped; the next tick tries again
  // Nothing at all may still mean command mode; anything else must hold the ack.
  if (!block->empty() && !HasCommandModeAck(*block)) {
    view_.StopTimer(DownloadTimer::Timer2);
    phase_ = DownloadPhase::Stalled;
    return;
  }
  writeFrame(kQueryRecord);
  view_.StopTimer(DownloadTimer::Timer2);
  part_ = std::fopen(PartPath().c_str(), "wb");
  if (part_ == nullptr) {
    phase_ = DownloadPhase::Stalled;
    throw FatalError(kWriteOpenError, 1);
  }
  phase_ = DownloadPhase::AwaitCount;
  view_.StartTimer(DownloadTimer::QueryRecord);
  clock_.SleepFor(300ms);
}

void DownloadSequence::QueryRecordTick() {
  if (phase_ != DownloadPhase::AwaitCount) return;
  const auto block = readWindowBlock();
  if (!block) return;
  if (const auto count = FindRecordCount(*block)) counters_.ReportedRecordCount = *count;
  link_.DiscardInput();
  writeFrame(kStartRead);
  clock_.SleepFor(100ms);
  link_.Configure(LineSpeed::Baud921600);
  view_.StopTimer(DownloadTimer::QueryRecord);
  // From here on the port and the log file are the reader's.
  phase_ = DownloadPhase::Reading;
  reader_->Resume();
  view_.StartTimer(DownloadTimer::Timer3);
}

void DownloadSequence::setProgressBar(std::uint32_t percent) {
  progressPosition_ = static_cast<int>(std::min<std::uint32_t>(percent, 100));
  view_.SetProgress(progressPosition_);
}

void DownloadSequence::Timer3Tick() {
  view_.SetStatusColour(StatusColour::Black);
  view_.ProcessMessages();
  // The figure of the previous tick, as the bar shows it.
  view_.SetStatusText(std::to_string(progressPosition_) + "% Reading...... ");
  setProgressBar(ProgressPercent(counters_.ReceivedByteCount.load(std::memory_order_relaxed),
                                 counters_.ReportedRecordCount));
}

void DownloadSequence::writePayload(const std::uint8_t* payload, std::size_t size) {
  const std::size_t written = std::fwrite(payload, 1, size, part_);
  if (written != size) partWriteFailed_ = true;
  counters_.ReceivedByteCount.fetch_add(static_cast<std::uint32_t>(written), std::memory_order_relaxed);
}

bool DownloadSequence::commitLog() {
  std::FILE* part = std::exchange(part_, nullptr);
  bool written = !partWriteFailed_ && std::fflush(part) == 0 && ::fsync(::fileno(part)) == 0;
  written = std::fclose(part) == 0 && written;
  if (written && std::rename(PartPath().c_str(), LogPath().c_str()) == 0) return true;
  std::remove(PartPath().c_str());
  return false;
}

std::pair<LogTime, LogTime> DownloadSequence::readLogSpan(std::FILE* log) {
  struct stat s {};
  const std::uint64_t size = ::fstat(::fileno(log), &s) == 0 ? static_cast<std::uint64_t>(s.st_size) : 0;
  counters_.StoredRecordCount = static_cast<std::uint32_t>(size / tracklog::kLogRecordSize);
  std::pair<LogTime, LogTime> span{EmptyLogTime(), EmptyLogTime()};
  if (counters_.StoredRecordCount == 0) return span;
  tracklog::LogRecord record{};
  if (std::fread(record.data(), 1, record.size(), log) == record.size()) {
    span.first = LogTimeOf(tracklog::decodeLogRecord(record));
  }
  // The last record is the one at size - 16, even in a log of odd length.
  if (::fseeko(log, static_cast<off_t>(size - tracklog::kLogRecordSize), SEEK_SET) == 0 &&
      std::fread(record.data(), 1, record.size(), log) == record.size()) {
    span.second = LogTimeOf(tracklog::decodeLogRecord(record));
  }
  return span;
}

void DownloadSequence::complete() {
  phase_ = DownloadPhase::Complete;
  // The log is in place before Make Report can be clicked.
  if (!commitLog()) {
    phase_ = DownloadPhase::Stalled;
    post([] { throw FatalError(kWriteOpenError, 1); });
    return;
  }
  post([this] {
    for (const CommandButton button : kCompletionButtons) view_.EnableButton(button);
  });
  std::FILE* log = std::fopen(LogPath().c_str(), "rb");
  if (log == nullptr) {
    phase_ = DownloadPhase::Stalled;
    post([] { throw FatalError(kReadOpenError, 1); });
    return;
  }
  post([this] { view_.StopTimer(DownloadTimer::Timer3); });
  const std::pair<LogTime, LogTime> span = readLogSpan(log);
  std::fclose(log);
  counters_.MemoryUsePercent = MemoryUsePercentOf(counters_.StoredRecordCount);

  const std::uint32_t stored = counters_.StoredRecordCount;
  const std::uint32_t percent = counters_.MemoryUsePercent;
  post([this, stored, percent] {
    view_.SetRecordCountText(std::to_string(stored));
    view_.SetPercentageText(std::to_string(percent) + " %");
    setProgressBar(percent);
  });
  post([this, span] {
    // Reset goes back to the filter as the completion leaves it, also when a zone text that is
    // no zone ended the fill: without a snapshot it would blank every field and the zone.
    try {
      view_.FillFilterFromLog(span.first, span.second);
    } catch (...) {
      view_.SaveResetSnapshot();
      throw;
    }
    view_.SaveResetSnapshot();
  });
  post([this] {
    view_.SetStatusColour(StatusColour::Red);
    view_.ProcessMessages();
    view_.SetStatusText("100% Read Complete");
  });

  writeFrame(kEndSession);
  link_.Configure(LineSpeed::Baud4800);
  // The port is the window's again.
  phase_ = DownloadPhase::AwaitUserId;
  post([this] { view_.StartTimer(DownloadTimer::Timer1); });
}

void DownloadSequence::Timer1Tick() {
  if (phase_ != DownloadPhase::AwaitUserId) return;
  const auto block = readWindowBlock();
  if (!block) {
    userIdCarry_.clear();
    return;
  }
  // The reply arrives once; one split between two ticks is joined up with the next.
  userIdCarry_.insert(userIdCarry_.end(), block->begin(), block->end());
  if (const auto id = FindUserId(userIdCarry_)) {
    userIdCarry_.clear();
    counters_.UserId = *id;
    if (!id->empty()) view_.SetUserId(*id);
    view_.StopTimer(DownloadTimer::Timer1);
    phase_ = DownloadPhase::Ready;
    return;
  }
  const std::size_t keep = std::min(userIdCarry_.size(), kUserIdReplyLength - 1);
  userIdCarry_.erase(userIdCarry_.begin(), userIdCarry_.end() - static_cast<std::ptrdiff_t>(keep));
}

void DownloadSequence::Tick(DownloadTimer timer) {
  switch (timer) {
    case DownloadTimer::Timer2:
      Timer2Tick();
      return;
    case DownloadTimer::QueryRecord:
      QueryRecordTick();
      return;
    case DownloadTimer::Timer3:
      Timer3Tick();
      return;
    case DownloadTimer::Timer1:
      Timer1Tick();
      return;
  }
}

void DownloadSequence::Clear() {
  // Only once the reader has handed the port back.
  const DownloadPhase phase = phase_.load();
  if (phase != DownloadPhase::AwaitUserId && phase != DownloadPhase::Ready) return;
  if (!view_.Ask("Are you sure to clear the logging memory?", "Note")) return;
  writeFrame(kClearMemory);
  view_.SetRecordCountText("0");
  view_.SetPercentageText("0%");
}

void DownloadSequence::Close() {
  if (reader_) reader_->Stop();
  link_.Close();
}

}  // namespace tellurix::logger

#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "tracklog/TrackPoint.h"

namespace tellurix::logger {

// Records the logger's memory holds (0x1FFFF, not 131072).
inline constexpr std::uint32_t LoggerCapacity = 131071;

// A record's UTC date and time as cut from "%4d-%2d-%2d %2d:%2d:%2d": a 4-character year and
// 2-character fields padded with blanks (" 5").
struct LogTime {
  std::string year;
  std::string month;
  std::string day;
  std::string hour;
  std::string minute;
  std::string second;

  friend bool operator==(const LogTime&, const LogTime&) = default;
};

LogTime LogTimeOf(const tracklog::TrackPoint& point);
// What a log without records gives: year "2000", every other field zero.
LogTime EmptyLogTime();

// What the download shares with the window for the rest of the run. ReceivedByteCount is
// written by the reader and read by the window while the download runs. Completion writes
// StoredRecordCount and MemoryUsePercent on the reader thread before it posts its window
// jobs: read them from those jobs or later. The log's span goes to the window with the jobs.
struct DownloadCounters {
  std::uint32_t ReportedRecordCount = 0;            // from RecordCountReply; 0 when none came
  std::atomic<std::uint32_t> ReceivedByteCount{0};  // payload bytes written in this run
  std::uint32_t StoredRecordCount = 0;              // whole records in LOGDATA.BIN after the download
  std::uint32_t MemoryUsePercent = 0;               // StoredRecordCount * 100 / LoggerCapacity
  std::string UserId;
};

// The progress bar's figure: received × 100 / (reported × 16) in unsigned 32-bit arithmetic,
// 0 while no count is known (or the count is so large that its byte total wraps to 0).
std::uint32_t ProgressPercent(std::uint32_t receivedBytes, std::uint32_t reportedRecords);

std::uint32_t MemoryUsePercentOf(std::uint32_t storedRecords);

}  // namespace tellurix::logger

#include "DownloadCounters.h"

#include <cstdio>

namespace tellurix::logger {

LogTime LogTimeOf(const tracklog::TrackPoint& p) {
  char text[32];
  // Every field is narrow enough (year 2000..4047, the others 0..63) for the cut positions.
  std::snprintf(text, sizeof text, "%4d-%2d-%2d %2d:%2d:%2d", p.year, p.month, p.day, p.hour, p.minute,
                p.second);
  const std::string t(text);
  return {t.substr(0, 4), t.substr(5, 2), t.substr(8, 2), t.substr(11, 2), t.substr(14, 2), t.substr(17, 2)};
}

LogTime EmptyLogTime() {
  tracklog::TrackPoint none;
  none.year = 2000;
  return LogTimeOf(none);
}

std::uint32_t ProgressPercent(std::uint32_t receivedBytes, std::uint32_t reportedRecords) {
  const std::uint32_t expectedBytes = reportedRecords * 16U;
  if (expectedBytes == 0) return 0;
  return receivedBytes * 100U / expectedBytes;
}

std::uint32_t MemoryUsePercentOf(std::uint32_t storedRecords) {
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(storedRecords) * 100U / LoggerCapacity);
}

}  // namespace tellurix::logger

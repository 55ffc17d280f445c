#include "DownloadStandIn.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "Quorvel.h"
#include "tracklog/LogFile.h"
#include "tracklog/LogRecord.h"

namespace tellurix::shell {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kLoggerCapacity = 131071;

// The record's UTC date and time cut from "%4d-%2d-%2d %2d:%2d:%2d", as the download keeps them.
LogTimeTexts cutTimeTexts(const tracklog::TrackPoint& p) {
  char text[64];
  std::snprintf(text, sizeof text, "%4d-%2d-%2d %2d:%2d:%2d", p.year, p.month, p.day, p.hour, p.minute,
                p.second);
  const std::string t(text);
  return {t.substr(0, 4), t.substr(5, 2), t.substr(8, 2), t.substr(11, 2), t.substr(14, 2), t.substr(17, 2)};
}

tracklog::TrackPoint recordAt(std::FILE* file, long offset) {
  tracklog::LogRecord record{};
  if (std::fseek(file, offset, SEEK_SET) != 0 ||
      std::fread(record.data(), 1, record.size(), file) != record.size()) {
    return {};
  }
  return tracklog::decodeLogRecord(record);
}

}  // namespace

bool standInForDownload(TfrmFilter& window, const std::string& logFile) {
  std::error_code error;
  const std::string log = window.logPath();
  if (!fs::equivalent(logFile, log, error)) {
    fs::copy_file(logFile, log, fs::copy_options::overwrite_existing, error);
    if (error) return false;
  }
  const std::uint64_t size = fs::file_size(log, error);
  if (error) return false;

  window.LoadChartPreference();
  window.enableDownloadCommands();
  const std::uint64_t records = size / tracklog::kLogRecordSize;
  const std::uint64_t percent = records * 100 / kLoggerCapacity;
  window.showRecordCount(std::to_string(records));
  window.showMemoryUse(std::to_string(percent) + " %");
  window.setProgress(static_cast<int>(percent));

  LogTimeTexts start{"2000", " 0", " 0", " 0", " 0", " 0"};
  LogTimeTexts end = start;
  if (records > 0) {
    std::FILE* file = std::fopen(log.c_str(), "rb");
    if (file == nullptr) return false;
    start = cutTimeTexts(recordAt(file, 0));
    end = cutTimeTexts(recordAt(file, static_cast<long>((records - 1) * tracklog::kLogRecordSize)));
    std::fclose(file);
  }
  window.fillFilterFromLog(start, end);
  window.ResetSnapshot();
  window.setStatusColour(report::StatusColour::Red);
  window.processEvents();
  window.setStatusText("100% Read Complete");
  window.setReceivedByteCount(static_cast<std::uint32_t>(size));
  return true;
}

}  // namespace tellurix::shell

#include "DecodeCommand.h"

#include <cstdio>
#include <iostream>

#include "CliArguments.h"
#include "ReportCommand.h"
#include "tracklog/LogFile.h"

namespace tellurix::cli {

int decodeCommand(const std::vector<std::string>& args) {
  const CliArguments parsed(args, {}, {});
  if (parsed.positional().size() != 1) throw UsageError("decode takes one FILE");
  tracklog::LogFileReader log;
  if (!log.open(parsed.positional().front())) {
    std::cerr << "cannot open " << parsed.positional().front() << '\n';
    return kExitFatal;
  }
  tracklog::LogRecord record;
  while (log.next(record)) {
    const tracklog::TrackPoint p = tracklog::decodeLogRecord(record);
    std::printf("%u %.9f %.9f %.0f %.0f %04u-%02u-%02u %02u:%02u:%02u\n", unsigned{p.onFlag}, p.latitude,
                p.longitude, static_cast<double>(p.altitude), static_cast<double>(p.speed), unsigned{p.year},
                unsigned{p.month}, unsigned{p.day}, unsigned{p.hour}, unsigned{p.minute}, unsigned{p.second});
  }
  return 0;
}

}  // namespace tellurix::cli

#include "CaptureTimeCommand.h"

#include <cstdio>
#include <string>

#include "CliArguments.h"
#include "ReportCommand.h"
#include "tagging/CaptureTime.h"

namespace tellurix::cli {

int captureTimeCommand(const std::vector<std::string>& args) {
  const CliArguments parsed(args, {}, {});
  if (parsed.positional().empty()) throw UsageError("capture-time takes one FILE or more");
  bool allRead = true;
  for (const std::string& path : parsed.positional()) {
    const auto date = tagging::readCaptureTime(path);
    if (!date) allRead = false;
    std::string line = date ? *date : "File not found";
    // A date read from a damaged file may hold any byte; one line per file must stay one line.
    for (char& c : line) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
  }
  // The lines say which file was missing; the status lets a script notice that one was.
  return allRead ? 0 : kExitFatal;
}

}  // namespace tellurix::cli

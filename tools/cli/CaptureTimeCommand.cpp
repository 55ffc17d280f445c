#include "CaptureTimeCommand.h"

#include <cstdio>

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
    std::fputs(date ? date->c_str() : "File not found", stdout);
    std::fputc('\n', stdout);
  }
  // The lines say which file was missing; the status lets a script notice that one was.
  return allRead ? 0 : kExitFatal;
}

}  // namespace tellurix::cli

#pragma once

#include <string>

namespace tellurix::shell {

class TfrmFilter;

// Brings the window into the state a finished download leaves it in, with `logFile` standing
// in for the logger's memory: it becomes LOGDATA.BIN in the program's folder, then the window
// gets the chart preference, the five commands, the record count and memory use, the filter
// from the first and last record, its Reset snapshot and "100% Read Complete". A developer's
// aid for looking at the window without a logger, and the tests' download. False when the
// log could not be copied.
bool standInForDownload(TfrmFilter& window, const std::string& logFile);

}  // namespace tellurix::shell

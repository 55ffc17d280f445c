#pragma once

#include <array>
#include <string>

#include "logger/DownloadCounters.h"
#include "tracklog/ZoneShift.h"

namespace tellurix::shellcore {

// The twelve filter fields: start year, month, day, hour, minute, second, then the end's.
using FilterTexts = std::array<std::string, 12>;

// What the filter shows before anything is filled in, and for a log without records.
FilterTexts emptyLogFilter();

// The filter for a log spanning start..end (UTC, blank-padded as the download cut them), in
// the zone of `offset`: the date and time shifted into the zone as plain decimal texts, the
// second texts as cut without their padding blank. A log without records (start 2000 with
// every other field 0) gives emptyLogFilter(). Throws ConversionError when a text is not a
// whole number.
FilterTexts filterTextsFromLog(const tracklog::ZoneOffset& offset, const logger::LogTime& start,
                               const logger::LogTime& end);

}  // namespace tellurix::shellcore

#pragma once

#include <array>
#include <string>

#include "tracklog/ZoneShift.h"

namespace tellurix::shell {

// A UTC date and time of the log as the download cuts it from "%4d-%2d-%2d %2d:%2d:%2d":
// year, month, day, hour, minute, second, blank-padded (" 5").
using LogTimeTexts = std::array<std::string, 6>;

// The twelve filter fields: start year, month, day, hour, minute, second, then the end's.
using FilterTexts = std::array<std::string, 12>;

// What the filter shows before anything is filled in, and for a log without records.
FilterTexts emptyLogFilter();

// The filter for a log spanning start..end (UTC), in the zone of `offset`: the date and time
// shifted into the zone as plain decimal texts, the second texts as cut without their padding
// blank. A log without records
// (start 2000 with every other field 0) gives emptyLogFilter(). Throws ConversionError when a
// text is not a whole number.
FilterTexts filterTextsFromLog(const tracklog::ZoneOffset& offset, const LogTimeTexts& start,
                               const LogTimeTexts& end);

}  // namespace tellurix::shell

#pragma once

#include <cstdint>
#include <string>

#include "report/Legs.h"
#include "tracklog/Calendar.h"
#include "tracklog/FieldSource.h"

namespace tellurix::map {

// The texts of the report's summary that the map shows, in the report's unit; the map shows
// another unit text as KPH, since the report prints no unit-dependent line for it.

// The unit the map shows for the report's unit text.
tracklog::SpeedUnit shownUnit(tracklog::SpeedUnit reportUnit);

// "2010-09-09 08:00:00"
std::string timeText(const tracklog::CalendarTime& t);
// "from 2010-09-09 08:00:00 to 2010-09-09 08:20:00"
std::string periodText(const tracklog::CalendarTime& from, const tracklog::CalendarTime& to);
// "total mileage: 1.2345 km" or "... mi"
std::string mileageText(double metres, tracklog::SpeedUnit unit);
// "stop for: 00 days 00 hours 15 minutes 01 seconds"
std::string stopForText(std::int64_t seconds);
// "45.0KPH" or, for MPH, the speed × 0.625 with "MPH"
std::string speedText(int wholeKmh, tracklog::SpeedUnit unit);

}  // namespace tellurix::map

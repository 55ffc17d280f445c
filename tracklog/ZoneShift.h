#pragma once

#include <string>
#include <string_view>

#include "Calendar.h"
#include "TrackPoint.h"

namespace tellurix::tracklog {

// Signed hours and minutes of the selected zone; both negative west of Greenwich.
struct ZoneOffset {
  int hours = 0;
  int minutes = 0;

  friend bool operator==(const ZoneOffset&, const ZoneOffset&) = default;
};

// The offset and label of the zone read last. They keep their values when a zone name cannot
// be read (nothing selected), which is what the KML writers then print.
struct ZoneState {
  ZoneOffset offset;
  std::string label;  // ZoneLabel, e.g. "(GMT+8:00)"; empty until a zone was read
  // The name they were read from: the name is read again before every point a run shifts or
  // prints, and while it stays the same there is nothing to parse.
  std::string readFrom;
};

// Reads "(GMT+08:00) Taipei", "(UTC-03:30) ..." or "(GMT) ..." into `zone`. Throws
// ConversionError when the digits of a signed prefix are not a whole number.
void ReadZoneOffset(ZoneState& zone, std::string_view zoneName);

// Steps the date and time by the offset: minutes, then hours, carrying into the day, month and
// year. A shift back from the first of a month borrows into the previous month (and year).
// The second is not touched.
void shiftByZoneOffset(const ZoneOffset& offset, CalendarTime& t);

// Re-reads the zone name, then shifts `t` from UTC into that zone.
void ApplyZoneOffset(ZoneState& zone, std::string_view zoneName, CalendarTime& t);

// The same for a point's own date and time fields.
void ApplyZoneOffset(ZoneState& zone, std::string_view zoneName, TrackPoint& p);

}  // namespace tellurix::tracklog

#pragma once

#include <string>

#include "Decimal.h"
#include "KmlContext.h"
#include "Miles.h"
#include "tracklog/Calendar.h"
#include "tracklog/FieldSource.h"
#include "tracklog/TextBuffer.h"
#include "tracklog/TrackPoint.h"

// Pieces that every point placemark shares; used by the writers of this folder only.
namespace tellurix::kml::parts {

inline constexpr double kFeetPerMetre = 3.28;

// The unit text as the window holds it now.
tracklog::SpeedUnit currentUnit(const KmlContext& context);

// The point's UTC date and time shifted into the zone the window shows now; refreshes the
// zone label printed after it.
tracklog::CalendarTime localTimeOf(const KmlContext& context, const tracklog::TrackPoint& point);

// The words a description puts after its values.
struct UnitWords {
  const char* altitude;  // "m" or "ft"
  const char* speed;     // "KM/h" or "MPH"
  const char* distance;  // "km" or "mi"
};
// Null for a unit text other than "KPH" and "MPH": such a description has no line at all.
const UnitWords* unitWordsFor(tracklog::SpeedUnit unit);

// "YYYY-MM-DD hh:mm:ss" and the zone label right after the seconds.
struct LocalTimeText {
  const tracklog::CalendarTime& time;
  const std::string& zoneLabel;
  void appendTo(tracklog::TextBuffer& out) const;
};

// "YYYY-MM-DDThh:mm:ssZ": the point's own UTC fields, never shifted, the year space-padded.
struct UtcStamp {
  const tracklog::TrackPoint& point;
  void appendTo(tracklog::TextBuffer& out) const;
};

// The position as both the description and the point block show it, formatted once.
struct PositionTexts {
  explicit PositionTexts(const tracklog::TrackPoint& point)
      : longitude(point.longitude, 6), latitude(point.latitude, 6), metres(point.altitude, 0) {}
  Decimal longitude;
  Decimal latitude;
  Decimal metres;  // the altitude
};

// Altitude (m or ft) and speed (km/h or MPH) as a description shows them.
struct ShownValues {
  double altitude;
  double speed;
};
ShownValues shownValues(const tracklog::TrackPoint& point, tracklog::SpeedUnit unit);

// The description line and its closing line; nothing at all for a unit text other than "KPH"
// and "MPH", so that the document stays well formed.
void writePointDescription(tracklog::TextBuffer& out, const KmlContext& context,
                           const tracklog::TrackPoint& point, const PositionTexts& position);

// The time stamp forms: the same UTC stamp, then the style reference (if any) of its writer.
enum class TimeStampForm { Begin, Start, Stop, Label, Plain };

// The placemark after its description: time stamp, inline icon style (when `iconPath` is not
// null), the point block and the closing line.
void writePlacemarkEnd(tracklog::TextBuffer& out, const tracklog::TrackPoint& point,
                       const PositionTexts& position, TimeStampForm form, const char* iconPath = nullptr);

// What follows a point placemark's heading lines: the point's description, then
// writePlacemarkEnd.
void writePointBody(tracklog::TextBuffer& out, const KmlContext& context, const tracklog::TrackPoint& point,
                    TimeStampForm form, const char* iconPath = nullptr);

}  // namespace tellurix::kml::parts

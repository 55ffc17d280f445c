#include "PlacemarkParts.h"

#include "KmlText.h"

namespace tellurix::kml::parts {

using tracklog::CalendarTime;
using tracklog::Field;
using tracklog::Fixed;
using tracklog::Padded;
using tracklog::SpeedUnit;
using tracklog::TextBuffer;
using tracklog::TrackPoint;
using tracklog::ZeroPadded;

SpeedUnit currentUnit(const KmlContext& context) {
  return tracklog::speedUnitOf(context.fields.text(Field::SpeedUnit));
}

CalendarTime localTimeOf(const KmlContext& context, const TrackPoint& point) {
  CalendarTime t = tracklog::calendarTimeOf(point);
  tracklog::ApplyZoneOffset(context.zone, context.fields.text(Field::TimeZone), t);
  return t;
}

ShownValues shownValues(const TrackPoint& point, SpeedUnit unit) {
  if (unit == SpeedUnit::Mph) {
    return {static_cast<double>(point.altitude) * kFeetPerMetre, inMiles(static_cast<double>(point.speed))};
  }
  return {static_cast<double>(point.altitude), static_cast<double>(point.speed)};
}

const UnitWords* unitWordsFor(SpeedUnit unit) {
  static constexpr UnitWords kMetric{"m", "KM/h", "km"};
  static constexpr UnitWords kImperial{"ft", "MPH", "mi"};
  switch (unit) {
    case SpeedUnit::Kph:
      return &kMetric;
    case SpeedUnit::Mph:
      return &kImperial;
    case SpeedUnit::Other:
      break;
  }
  return nullptr;
}

void LocalTimeText::appendTo(TextBuffer& out) const {
  const CalendarTime& t = time;
  out.append(ZeroPadded{t.year, 4}, '-', ZeroPadded{t.month, 2}, '-', ZeroPadded{t.day, 2}, ' ',
             ZeroPadded{t.hour, 2}, ':', ZeroPadded{t.minute, 2}, ':', ZeroPadded{t.second, 2},
             zoneLabel.c_str());
}

void UtcStamp::appendTo(TextBuffer& out) const {
  const TrackPoint& p = point;
  out.append(Padded{p.year, 4}, '-', ZeroPadded{p.month, 2}, '-', ZeroPadded{p.day, 2}, 'T',
             ZeroPadded{p.hour, 2}, ':', ZeroPadded{p.minute, 2}, ':', ZeroPadded{p.second, 2}, 'Z');
}

void writePointDescription(TextBuffer& out, const KmlContext& context, const TrackPoint& point,
                           const PositionTexts& position) {
  const SpeedUnit unit = currentUnit(context);
  const CalendarTime t = localTimeOf(context, point);
  const UnitWords* words = unitWordsFor(unit);
  if (words == nullptr) return;
  const ShownValues shown = shownValues(point, unit);
  out.line("\t\t\t<description><![CDATA[Longitude:", position.longitude, "<br />Latitude:", position.latitude,
           "<br />Altitude:", Fixed{shown.altitude, 0}, "(", words->altitude,
           ")  Speed:", Fixed{shown.speed, 0}, "(", words->speed,
           ")<br />Time:", LocalTimeText{t, context.zone.label}, "]]>");
  out.line("  </description>");
}

namespace {

const char* styleAfterTimeStamp(TimeStampForm form) {
  switch (form) {
    case TimeStampForm::Begin:
      return "\t\t\t\t<styleUrl>root://styleMaps#default+nicon=0x447+hicon=0x457</styleUrl>";
    case TimeStampForm::Start:
      return "\t\t\t\t<styleUrl>root://styleMaps#default+nicon=0x406+hicon=0x416</styleUrl>";
    case TimeStampForm::Stop:
      return "\t\t\t\t<styleUrl>root://styleMaps#default+nicon=0x467+hicon=0x477</styleUrl>";
    case TimeStampForm::Label:
      return "\t\t\t\t<styleUrl>LabelStyle</styleUrl>";
    case TimeStampForm::Plain:
      break;
  }
  return "";
}

}  // namespace

void writePlacemarkEnd(TextBuffer& out, const TrackPoint& point, const PositionTexts& position,
                       TimeStampForm form, const char* iconPath) {
  out.line("\t\t\t<TimeStamp><when>", UtcStamp{point}, "</when></TimeStamp>", styleAfterTimeStamp(form));
  if (iconPath != nullptr) {
    out.line("\t\t<Style>");
    out.line("\t\t <IconStyle>");
    out.line("   \t <Icon><href>", kIconHost, iconPath, "</href></Icon>");
    out.line("\t \t </IconStyle>");
    out.line("\t\t</Style>");
  }
  out.line("\t\t\t<Point>");
  out.line("\t\t\t\t<coordinates>", position.longitude, ",", position.latitude, ",", position.metres,
           "</coordinates>");
  out.line("\t\t\t</Point>");
  out.line("\t</Placemark>");
}

void writePointBody(TextBuffer& out, const KmlContext& context, const TrackPoint& point, TimeStampForm form,
                    const char* iconPath) {
  const PositionTexts position(point);
  writePointDescription(out, context, point, position);
  writePlacemarkEnd(out, point, position, form, iconPath);
}

}  // namespace tellurix::kml::parts

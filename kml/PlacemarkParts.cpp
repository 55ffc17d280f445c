#include "PlacemarkParts.h"

#include "Decimal.h"
#include "KmlText.h"
#include "tracklog/TextFile.h"

namespace tellurix::kml::parts {

using tracklog::CalendarTime;
using tracklog::Field;
using tracklog::SpeedUnit;
using tracklog::TrackPoint;
using tracklog::writeLine;
using tracklog::writeText;

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

LocalTimeText::LocalTimeText(const CalendarTime& t, const std::string& zoneLabel) {
  std::snprintf(text_, sizeof text_, "%04d-%02d-%02d %02d:%02d:%02d%s", t.year, t.month, t.day, t.hour,
                t.minute, t.second, zoneLabel.c_str());
}

void writePointDescription(std::FILE* out, const KmlContext& context, const TrackPoint& point) {
  const SpeedUnit unit = currentUnit(context);
  const CalendarTime t = localTimeOf(context, point);
  const UnitWords* words = unitWordsFor(unit);
  if (words == nullptr) return;
  const ShownValues shown = shownValues(point, unit);
  writeLine(out,
            "\t\t\t<description><![CDATA[Longitude:%s<br />Latitude:%s<br />Altitude:%s(%s)  "
            "Speed:%s(%s)<br />Time:%s]]>",
            Decimal(point.longitude, 6).c_str(), Decimal(point.latitude, 6).c_str(),
            Decimal(shown.altitude, 0).c_str(), words->altitude, Decimal(shown.speed, 0).c_str(),
            words->speed, LocalTimeText(t, context.zone.label).c_str());
  writeText(out, "  </description>");
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

void writePlacemarkEnd(std::FILE* out, const TrackPoint& point, TimeStampForm form, const char* iconPath) {
  // The stamp is the logger's UTC time, never shifted, with the year space-padded.
  writeLine(out, "\t\t\t<TimeStamp><when>%4d-%02d-%02dT%02d:%02d:%02dZ</when></TimeStamp>%s", point.year,
            point.month, point.day, point.hour, point.minute, point.second, styleAfterTimeStamp(form));
  if (iconPath != nullptr) {
    writeText(out, "\t\t<Style>");
    writeText(out, "\t\t <IconStyle>");
    writeLine(out, "   \t <Icon><href>%s%s</href></Icon>", kIconHost, iconPath);
    writeText(out, "\t \t </IconStyle>");
    writeText(out, "\t\t</Style>");
  }
  writeText(out, "\t\t\t<Point>");
  writeLine(out, "\t\t\t\t<coordinates>%s,%s,%s</coordinates>", Decimal(point.longitude, 6).c_str(),
            Decimal(point.latitude, 6).c_str(), Decimal(point.altitude, 0).c_str());
  writeText(out, "\t\t\t</Point>");
  writeText(out, "\t</Placemark>");
}

}  // namespace tellurix::kml::parts

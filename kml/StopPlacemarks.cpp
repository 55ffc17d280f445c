#include "StopPlacemarks.h"

#include "Decimal.h"
#include "PlacemarkParts.h"
#include "tracklog/Calendar.h"
#include "tracklog/TextFile.h"

namespace tellurix::kml {
namespace {

using parts::TimeStampForm;
using tracklog::CalendarTime;
using tracklog::SpeedUnit;
using tracklog::TrackPoint;
using tracklog::writeLine;
using tracklog::writeText;

struct Duration {
  int days;
  int hours;
  int minutes;
  int seconds;
};

// Begin and end of a leg in local time, and what follows from them, in the unit shown.
struct LegTotals {
  SpeedUnit unit;
  CalendarTime begin;
  CalendarTime end;
  Duration total;
  double mileage;       // km or mi
  double averageSpeed;  // km/h or MPH
};

LegTotals legTotals(const KmlContext& context, const TrackPoint& stopPoint, const TrackPoint& beginPoint,
                    double mileageKm) {
  LegTotals totals{};
  totals.unit = parts::currentUnit(context);
  totals.end = parts::localTimeOf(context, stopPoint);
  totals.begin = parts::localTimeOf(context, beginPoint);
  // Whole seconds on the real calendar, so that a leg across midnight, a month end or a leap
  // day has its true length.
  const std::int64_t s = tracklog::calendarSecondsBetween(totals.begin, totals.end);
  totals.total = {static_cast<int>(s / 86400), static_cast<int>(s % 86400 / 3600),
                  static_cast<int>(s % 3600 / 60), static_cast<int>(s % 60)};
  totals.mileage = mileageKm;
  totals.averageSpeed = s == 0 ? 0.0 : mileageKm * 3600 / static_cast<double>(s);
  if (totals.unit == SpeedUnit::Mph) {
    totals.mileage = inMiles(totals.mileage);
    totals.averageSpeed = inMiles(totals.averageSpeed);
  }
  return totals;
}

// The decimals of a leg description, formatted once.
struct ShownNumbers {
  ShownNumbers(const TrackPoint& point, const LegTotals& totals)
      : shown(parts::shownValues(point, totals.unit)),
        longitude(point.longitude, 6),
        latitude(point.latitude, 6),
        altitude(shown.altitude, 0),
        speed(shown.speed, 0),
        mileage(totals.mileage, 4),
        averageSpeed(totals.averageSpeed, 4) {}

  parts::ShownValues shown;
  Decimal longitude;
  Decimal latitude;
  Decimal altitude;
  Decimal speed;
  Decimal mileage;
  Decimal averageSpeed;
};

Duration stopTime(std::uint32_t s) {
  return {static_cast<int>(s / 86400), static_cast<int>(s / 3600 % 24), static_cast<int>(s / 60 % 60),
          static_cast<int>(s % 60)};
}

void writeStopDescription(std::FILE* out, const KmlContext& context, const TrackPoint& stopPoint,
                          const TrackPoint& beginPoint, double mileageKm, std::uint32_t stopSeconds) {
  const LegTotals t = legTotals(context, stopPoint, beginPoint, mileageKm);
  const parts::UnitWords* words = parts::unitWordsFor(t.unit);
  if (words == nullptr) return;
  const ShownNumbers n(stopPoint, t);
  const Duration stop = stopTime(stopSeconds);
  const std::string& label = context.zone.label;
  writeLine(
      out,
      "\t\t\t<description><![CDATA[Longitude:%s<br />Latitude:%s<br />Altitude:%s(%s)  Speed:%s(%s)"
      "<br />Time:%s<hr />Begin: %s<br />End:   %s<br />Total time: %d-day %d-hour %d-min %d-sec"
      "<br />Total mileage: %s-%s<br />Average speed: %s-%s<br />Stop time: %d-day %d-hour %d-min %d-sec]]>",
      n.longitude.c_str(), n.latitude.c_str(), n.altitude.c_str(), words->altitude, n.speed.c_str(),
      words->speed, parts::LocalTimeText(t.end, label).c_str(), parts::LocalTimeText(t.begin, label).c_str(),
      parts::LocalTimeText(t.end, label).c_str(), t.total.days, t.total.hours, t.total.minutes,
      t.total.seconds, n.mileage.c_str(), words->distance, n.averageSpeed.c_str(), words->speed, stop.days,
      stop.hours, stop.minutes, stop.seconds);
  writeText(out, "  </description>");
}

void writeEndDescription(std::FILE* out, const KmlContext& context, const TrackPoint& endPoint,
                         const TrackPoint& beginPoint, double mileageKm) {
  const LegTotals t = legTotals(context, endPoint, beginPoint, mileageKm);
  const parts::UnitWords* words = parts::unitWordsFor(t.unit);
  if (words == nullptr) return;
  const ShownNumbers n(endPoint, t);
  const std::string& label = context.zone.label;
  writeLine(out,
            "\t\t\t<description><![CDATA[Longitude:%s<br />Latitude:%s<br />Altitude:%s(%s)  Speed:%s(%s)"
            "<br />Time:%s<hr />Begin: %s<br />End:   %s<br />Total time: %d-day %d-hour %d-min %d-sec"
            "<br />Total mileage: %s-%s]]>",
            n.longitude.c_str(), n.latitude.c_str(), n.altitude.c_str(), words->altitude, n.speed.c_str(),
            words->speed, parts::LocalTimeText(t.end, label).c_str(),
            parts::LocalTimeText(t.begin, label).c_str(), parts::LocalTimeText(t.end, label).c_str(),
            t.total.days, t.total.hours, t.total.minutes, t.total.seconds, n.mileage.c_str(),
            words->distance);
  writeText(out, "  </description>");
}

void writeStopPlacemarkBody(std::FILE* out, const KmlContext& context, const TrackPoint& stopPoint,
                            const TrackPoint& beginPoint, double mileageKm, std::uint32_t stopSeconds) {
  writeStopDescription(out, context, stopPoint, beginPoint, mileageKm, stopSeconds);
  parts::writePlacemarkEnd(out, stopPoint, TimeStampForm::Stop);
}

}  // namespace

void writeStopPlacemark(std::FILE* out, const KmlContext& context, const TrackPoint& stopPoint,
                        const TrackPoint& beginPoint, double mileageKm, std::uint32_t number,
                        std::uint32_t stopSeconds) {
  writeText(out, "\t<Placemark>");
  writeLine(out, "\t<name>Stop %u</name>", number);
  writeStopPlacemarkBody(out, context, stopPoint, beginPoint, mileageKm, stopSeconds);
}

void writeLegStopPlacemark(std::FILE* out, const KmlContext& context, const TrackPoint& stopPoint,
                           const TrackPoint& beginPoint, double mileageKm, std::uint32_t stopSeconds,
                           std::uint32_t number) {
  writeText(out, "\t<Placemark>");
  writeLine(out, "\t<name>Stop%u</name>", number);
  writeStopPlacemarkBody(out, context, stopPoint, beginPoint, mileageKm, stopSeconds);
}

void writeEndPlacemark(std::FILE* out, const KmlContext& context, const TrackPoint& endPoint,
                       const TrackPoint& beginPoint, double mileageKm) {
  writeText(out, "\t<Placemark>");
  writeText(out, "\t<name>End</name>");
  writeEndDescription(out, context, endPoint, beginPoint, mileageKm);
  parts::writePlacemarkEnd(out, endPoint, TimeStampForm::Begin);
}

}  // namespace tellurix::kml

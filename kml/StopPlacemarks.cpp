#include "StopPlacemarks.h"

#include "PlacemarkParts.h"
#include "tracklog/Calendar.h"

namespace tellurix::kml {
namespace {

using parts::LocalTimeText;
using parts::TimeStampForm;
using tracklog::CalendarTime;
using tracklog::Fixed;
using tracklog::SpeedUnit;
using tracklog::TextBuffer;
using tracklog::TextOut;
using tracklog::TrackPoint;

// "D-day H-hour M-min S-sec".
struct Duration {
  int days;
  int hours;
  int minutes;
  int seconds;

  void appendTo(TextBuffer& out) const {
    out.append(days, "-day ", hours, "-hour ", minutes, "-min ", seconds, "-sec");
  }
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

Duration stopTime(std::uint32_t s) {
  return {static_cast<int>(s / 86400), static_cast<int>(s / 3600 % 24), static_cast<int>(s / 60 % 60),
          static_cast<int>(s % 60)};
}

void writeStopPlacemarkBody(TextBuffer& out, const KmlContext& context, const TrackPoint& stopPoint,
                            const TrackPoint& beginPoint, double mileageKm, std::uint32_t stopSeconds) {
  const LegTotals t = legTotals(context, stopPoint, beginPoint, mileageKm);
  const parts::PositionTexts position(stopPoint);
  if (const parts::UnitWords* words = parts::unitWordsFor(t.unit)) {
    const parts::ShownValues shown = parts::shownValues(stopPoint, t.unit);
    const LocalTimeText begin{t.begin, context.zone.label};
    const LocalTimeText end{t.end, context.zone.label};
    out.line("\t\t\t<description><![CDATA[Longitude:", position.longitude,
             "<br />Latitude:", position.latitude, "<br />Altitude:", Fixed{shown.altitude, 0}, "(",
             words->altitude, ")  Speed:", Fixed{shown.speed, 0}, "(", words->speed, ")<br />Time:", end,
             "<hr />Begin: ", begin, "<br />End:   ", end, "<br />Total time: ", t.total,
             "<br />Total mileage: ", Fixed{t.mileage, 4}, "-", words->distance,
             "<br />Average speed: ", Fixed{t.averageSpeed, 4}, "-", words->speed,
             "<br />Stop time: ", stopTime(stopSeconds), "]]>");
    out.line("  </description>");
  }
  parts::writePlacemarkEnd(out, stopPoint, position, TimeStampForm::Stop);
}

}  // namespace

void writeStopPlacemark(TextOut out, const KmlContext& context, const TrackPoint& stopPoint,
                        const TrackPoint& beginPoint, double mileageKm, std::uint32_t number,
                        std::uint32_t stopSeconds) {
  TextBuffer& b = out.buffer();
  b.line("\t<Placemark>");
  b.line("\t<name>Stop ", number, "</name>");
  writeStopPlacemarkBody(b, context, stopPoint, beginPoint, mileageKm, stopSeconds);
}

void writeLegStopPlacemark(TextOut out, const KmlContext& context, const TrackPoint& stopPoint,
                           const TrackPoint& beginPoint, double mileageKm, std::uint32_t stopSeconds,
                           std::uint32_t number) {
  TextBuffer& b = out.buffer();
  b.line("\t<Placemark>");
  b.line("\t<name>Stop", number, "</name>");
  writeStopPlacemarkBody(b, context, stopPoint, beginPoint, mileageKm, stopSeconds);
}

void writeEndPlacemark(TextOut out, const KmlContext& context, const TrackPoint& endPoint,
                       const TrackPoint& beginPoint, double mileageKm) {
  TextBuffer& b = out.buffer();
  b.line("\t<Placemark>");
  b.line("\t<name>End</name>");
  const LegTotals t = legTotals(context, endPoint, beginPoint, mileageKm);
  const parts::PositionTexts position(endPoint);
  if (const parts::UnitWords* words = parts::unitWordsFor(t.unit)) {
    const parts::ShownValues shown = parts::shownValues(endPoint, t.unit);
    const LocalTimeText begin{t.begin, context.zone.label};
    const LocalTimeText end{t.end, context.zone.label};
    b.line("\t\t\t<description><![CDATA[Longitude:", position.longitude, "<br />Latitude:", position.latitude,
           "<br />Altitude:", Fixed{shown.altitude, 0}, "(", words->altitude,
           ")  Speed:", Fixed{shown.speed, 0}, "(", words->speed, ")<br />Time:", end, "<hr />Begin: ", begin,
           "<br />End:   ", end, "<br />Total time: ", t.total, "<br />Total mileage: ", Fixed{t.mileage, 4},
           "-", words->distance, "]]>");
    b.line("  </description>");
  }
  parts::writePlacemarkEnd(b, endPoint, position, TimeStampForm::Begin);
}

}  // namespace tellurix::kml

#include "SummaryReport.h"

#include <array>
#include <string>
#include <string_view>

#include "TravelStats.h"
#include "tracklog/TextFile.h"

namespace tellurix::report {
namespace {

using tracklog::Field;
using tracklog::SpeedUnit;
using tracklog::writeLine;
using tracklog::writeText;

constexpr double kKmPerMetre = 0.001;
constexpr double kMilesPerKm = 0.625;

const char* const kDashes = "--------------------------------------------------------------";

constexpr std::array<const char*, 5> kSpeedClassLabels{
    "Congestion        0mi[  0km] ---> 6mi[ 10km]", "Slow              6mi[ 10km] --->37mi[ 60km]",
    "Medium           37mi[ 60km] --->50mi[ 80km]", "Fast             50mi[ 80km] --->75mi[120km]",
    "Excessive        75mi[120km] +"};
constexpr std::array<const char*, 6> kTimeOfDayLabels{
    "Early Morning            2 am --- 6 am", "Morning                  6 am ---10 am",
    "Noon                    10 am --- 2 pm", "Afternoon                2 pm --- 6 pm",
    "Evening                  6 pm ---10 pm", "Night                   10 pm --- 2 am"};
// "Firday" is the text users' reports have always carried.
constexpr std::array<const char*, 7> kWeekdayLabels{"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                    "Firday", "Saturday", "Sunday"};

constexpr std::size_t kShareLabelWidth = 56;
constexpr std::size_t kRateLabelWidth = 53;
constexpr std::string_view kHardBraking = "Hard Braking         (1sec change <  9mi[15km]/h) Avg";
constexpr std::string_view kExtremeBraking = "Extreme Braking      (1sec change < 15mi[25km]/h) Avg";
constexpr std::string_view kHardAcceleration = "Hard Acceleration    (1sec change >  9mi[15km]/h) Avg";
constexpr std::string_view kExtremeAcceleration = "Extreme Acceleration (1sec change > 15mi[25km]/h) Avg";
constexpr std::string_view kDrivingAverage = "Average Speed (Driving Time)                      Avg";
constexpr std::string_view kTotalAverage = "Average Speed (Total Time)                        Avg";
static_assert(kHardBraking.size() == kRateLabelWidth && kExtremeBraking.size() == kRateLabelWidth &&
              kHardAcceleration.size() == kRateLabelWidth && kExtremeAcceleration.size() == kRateLabelWidth &&
              kDrivingAverage.size() == kRateLabelWidth && kTotalAverage.size() == kRateLabelWidth);

SpeedUnit unitOf(const RunContext& run) {
  return tracklog::speedUnitOf(run.fields.text(Field::SpeedUnit));
}

std::string padded(std::string_view label, std::size_t width) {
  std::string out(label);
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

// A duration split as days, hours of the day, minutes and seconds.
struct Split {
  int days;
  int hours;
  int minutes;
  int seconds;
};
Split split(std::int64_t s) {
  return {static_cast<int>(s / 86400), static_cast<int>(s / 3600 % 24), static_cast<int>(s / 60 % 60),
          static_cast<int>(s % 60)};
}

template <std::size_t N>
void writeShareTable(std::FILE* out, const char* heading, const std::array<const char*, N>& labels,
                     const std::array<std::int64_t, N>& hundredths) {
  writeText(out, kDashes);
  writeText(out, heading);
  writeText(out, kDashes);
  for (std::size_t i = 0; i < N; ++i) {
    writeLine(out, "%s%6.2f", padded(labels[i], kShareLabelWidth).c_str(),
              static_cast<double>(hundredths[i]) / 100);
  }
}

void writeRate(std::FILE* out, std::string_view label, double perDay) {
  writeLine(out, "%s%5.1f/day", std::string(label).c_str(), perDay);
}

void writeSpeedRow(std::FILE* out, SpeedUnit unit, std::string_view label, std::int64_t kmh) {
  const std::string text = padded(label, kRateLabelWidth);
  if (unit == SpeedUnit::Kph) writeLine(out, "%s %5.1fKPH", text.c_str(), static_cast<double>(kmh));
  if (unit == SpeedUnit::Mph)
    writeLine(out, "%s %5.1fMPH", text.c_str(), static_cast<double>(kmh) * kMilesPerKm);
}

}  // namespace

void writeSummaryHead(std::FILE* out, const RunContext& run) {
  const tracklog::TrackStore& store = run.store;
  writeText(out, run.userId);
  writeText(out, kDashes);
  writeText(out, "Total travel period");
  const tracklog::CalendarTime a = tracklog::calendarTimeOf(store.local(0));
  const tracklog::CalendarTime b = tracklog::calendarTimeOf(store.local(store.pointCount - 1));
  writeLine(out, "      from %4d-%02d-%02d %02d:%02d:%02d to %4d-%02d-%02d %02d:%02d:%02d", a.year, a.month,
            a.day, a.hour, a.minute, a.second, b.year, b.month, b.day, b.hour, b.minute, b.second);
  const Split period = split(travelPeriodSeconds(store));
  writeLine(out, "      total travel time %d days %d hours %d minutes %d seconds", period.days, period.hours,
            period.minutes, period.seconds);
  writeText(out, kDashes);
  writeText(out, "Total travel distance");
  const double km = run.stats.totalDistance * kKmPerMetre;
  switch (unitOf(run)) {
    case SpeedUnit::Kph:
      writeLine(out, "      Totally %8.2f km", km);
      break;
    case SpeedUnit::Mph:
      writeLine(out, "      Totally %8.2f mi", km * kMilesPerKm);
      break;
    case SpeedUnit::Other:
      break;
  }
  writeText(out, kDashes);
}

void writeLegBlock(std::FILE* out, const RunContext& run, const Leg& leg) {
  writeLine(out, "Stop (%d):", static_cast<int>(leg.number));
  const tracklog::CalendarTime a = tracklog::calendarTimeOf(run.store.local(leg.first));
  const tracklog::CalendarTime b = tracklog::calendarTimeOf(run.store.local(leg.last));
  writeLine(out, "     from %4d-%02d-%02d %02d:%02d:%02d to %4d-%02d-%02d %02d:%02d:%02d", a.year, a.month,
            a.day, a.hour, a.minute, a.second, b.year, b.month, b.day, b.hour, b.minute, b.second);
  const double km = leg.mileage * kKmPerMetre;
  switch (unitOf(run)) {
    case SpeedUnit::Kph:
      writeLine(out, "     total mileage: %.4f km", km);
      break;
    case SpeedUnit::Mph:
      writeLine(out, "     total mileage: %.4f mi", km * kMilesPerKm);
      break;
    case SpeedUnit::Other:
      break;
  }
  if (leg.endsInStop) {
    const Split stop = split(leg.stopSeconds);
    writeLine(out, "     stop for: %02d days %02d hours %02d minutes %02d seconds", stop.days, stop.hours,
              stop.minutes, stop.seconds);
  } else {
    writeText(out, "End");
  }
}

void writeSummaryTail(std::FILE* out, const RunContext& run) {
  const TravelFigures f = travelFigures(run.stats, run.store);
  writeText(out, kDashes);
  const Split moving = split(f.movingSeconds);
  writeLine(out, "Total moving time: %02d days %02d hours %02d minutes %02d seconds", moving.days,
            moving.hours, moving.minutes, moving.seconds);
  const Split stopped = split(run.stats.totalStopSeconds);
  writeLine(out, "Total stop time: %02d days %02d hours %02d minutes %02d seconds", stopped.days,
            stopped.hours, stopped.minutes, stopped.seconds);

  writeShareTable(out, "Speed Category           Definition                Distance %", kSpeedClassLabels,
                  f.shares.speedClasses);
  writeShareTable(out, "Time Category            Definition                Distance %", kTimeOfDayLabels,
                  f.shares.timeOfDay);
  writeShareTable(out, "Weekday Category                                   Distance %", kWeekdayLabels,
                  f.shares.weekdays);

  writeText(out, kDashes);
  writeRate(out, kHardBraking, f.hardBrakePerDay);
  writeRate(out, kExtremeBraking, f.extremeBrakePerDay);
  writeRate(out, kHardAcceleration, f.hardAccelPerDay);
  writeRate(out, kExtremeAcceleration, f.extremeAccelPerDay);

  writeText(out, kDashes);
  const SpeedUnit unit = unitOf(run);
  if (unit != SpeedUnit::Other) {
    writeSpeedRow(out, unit, kDrivingAverage, f.drivingAverage);
    writeSpeedRow(out, unit, kTotalAverage, f.totalAverage);
    writeText(out, kDashes);
    writeSpeedRow(out, unit, "Max. Speed", run.stats.maxSpeed);
  }
  writeText(out, kDashes);
}

}  // namespace tellurix::report

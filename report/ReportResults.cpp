#include "ReportResults.h"

namespace tellurix::report {

ReportResults collectResults(const tracklog::TrackStore& store, int maxSpeed, std::vector<Leg> legs,
                             tracklog::FieldSource& fields) {
  ReportResults results;
  results.legs = std::move(legs);
  results.unit = tracklog::speedUnitOf(fields.text(tracklog::Field::SpeedUnit));
  results.stopPeriodMinutes = tracklog::wholeNumberField(fields, tracklog::Field::StopPeriod);
  for (std::uint32_t i = 0; i < store.pointCount; ++i) {
    if (tracklog::wholeSpeed(store.local(i)) == maxSpeed) {
      results.maxSpeedPoint = i;
      break;
    }
  }
  return results;
}

}  // namespace tellurix::report

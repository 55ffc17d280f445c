#pragma once

#include <functional>
#include <vector>

#include "Legs.h"
#include "ReportOutputs.h"
#include "RunContext.h"
#include "tracklog/FieldSource.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::report {

// The trip path, point and leg KML files, with the report text's block of each leg written in
// between (`writeReportBlock`).
void writeTripKml(ReportOutputs& outputs, const RunContext& run, const std::vector<Leg>& legs,
                  const std::function<void(const Leg&)>& writeReportBlock);

// How an inner point of a leg is marked: the run's fastest (whether over the limit or not), an
// over-speed point, or a plain label; nothing at all for a unit text other than "KPH" and "MPH".
// The limit is a whole number in the unit shown.
enum class InnerPlacemark { None, MaxSpeed, OverSpeed, Label };
InnerPlacemark innerPlacemarkFor(const tracklog::TrackPoint& point, tracklog::SpeedUnit unit,
                                 std::int32_t limit, int maxSpeed);

// The End placemarks and the tails of the trip path and point KML files, which it closes.
void closeTripKml(ReportOutputs& outputs, const RunContext& run);

}  // namespace tellurix::report

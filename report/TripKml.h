#pragma once

#include <functional>
#include <vector>

#include "Legs.h"
#include "ReportOutputs.h"
#include "RunContext.h"

namespace tellurix::report {

// The trip path, point and leg KML files, with the report text's block of each leg written in
// between (`writeReportBlock`).
void writeTripKml(ReportOutputs& outputs, const RunContext& run, const std::vector<Leg>& legs,
                  const std::function<void(const Leg&)>& writeReportBlock);

// The End placemarks and the tails of the trip path and point KML files, which it closes.
void closeTripKml(ReportOutputs& outputs, const RunContext& run);

}  // namespace tellurix::report

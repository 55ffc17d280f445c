#include "TripKml.h"

namespace tellurix::report {

void writeTripKml(ReportOutputs& /*outputs*/, const RunContext& /*run*/, const std::vector<Leg>& legs,
                  const std::function<void(const Leg&)>& writeReportBlock) {
  for (const Leg& leg : legs) writeReportBlock(leg);
}

void closeTripKml(ReportOutputs& outputs, const RunContext& /*run*/) {
  outputs.pointKml.close();
  outputs.pathKml.close();
}

}  // namespace tellurix::report

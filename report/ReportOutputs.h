#pragma once

#include <string>

#include "ReportNames.h"
#include "tracklog/TextFile.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::report {

// The four files a run keeps open from its first selected point on.
struct ReportOutputs {
  tracklog::OutputFile reportText;
  tracklog::OutputFile rmc;
  tracklog::OutputFile pointKml;
  tracklog::OutputFile pathKml;
};

// Creates the report folder and opens the report text, RMC, point KML and path KML in that
// order, filling `names`. A file that cannot be opened throws FatalError with its role's message.
void openReportOutputs(ReportOutputs& outputs, ReportNames& names, const std::string& outputPath,
                       const tracklog::CalendarTime& windowStart, const tracklog::TrackPoint& firstLocalPoint,
                       const std::string& userId);

}  // namespace tellurix::report

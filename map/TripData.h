#pragma once

#include <string>
#include <vector>

#include "report/ReportResults.h"
#include "report/ReportSession.h"
#include "report/TravelStats.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::map {

// A copy of what a report run that ended in "Report Done" left behind, for the trip view: the
// next run refills the session's store, and the view must go on showing its own report.
struct TripData {
  std::vector<tracklog::TrackPoint> points;  // the selected points, report time, in file order
  report::ReportResults results;
  report::TravelStats stats;
  report::TravelFigures figures;  // the report text's figures; set when there are points
  std::string zoneLabel;          // e.g. "(GMT+8:00)"
  report::ReportNames names;      // where the report was written
};

// The session's last report; no points when the session holds none that ended in Report Done.
TripData tripDataOf(const report::ReportSession& session);

}  // namespace tellurix::map

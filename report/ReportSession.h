#pragma once

#include "ReportNames.h"
#include "ReportResults.h"
#include "TravelStats.h"
#include "tracklog/TrackStore.h"
#include "tracklog/ZoneShift.h"

namespace tellurix::report {

// What report runs leave behind for the program's other commands: one instance lives as long
// as the program (the window's, or the batch tool's).
struct ReportSession {
  tracklog::TrackStore store;
  tracklog::ZoneState zone;
  TravelStats stats;  // of the last run; maxSpeed and totalDistance serve photo tagging
  ReportNames names;  // changed only by a run that selects a point
  ReportResults results;
};

}  // namespace tellurix::report

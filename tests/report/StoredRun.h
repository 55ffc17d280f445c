#pragma once

#include <string>
#include <vector>

#include "report/RunContext.h"
#include "report/TravelStats.h"

namespace tellurix::testing {

// What the steps after the read see, filled from a list of report-time points as a run would.
struct StoredRun {
  tracklog::FixedFields fields;
  tracklog::ZoneState zone;
  tracklog::TrackStore store;
  report::TravelStats stats;
  report::ReportNames names;
  std::string userId;

  // Stores the points (report time and UTC alike) and counts them into the statistics.
  void select(const std::vector<tracklog::TrackPoint>& points) {
    store.pointCount = 0;
    stats = report::TravelStats{};
    for (const tracklog::TrackPoint& p : points) {
      stats.addPoint(p, store.pointCount > 0 ? &store.local(store.pointCount - 1) : nullptr);
      store.storePoint(store.pointCount, p, p);
      store.pointCount += 1;
    }
  }

  report::RunContext context() { return {fields, zone, store, stats, names, userId}; }
};

}  // namespace tellurix::testing

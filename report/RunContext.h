#pragma once

#include <string>

#include "ReportNames.h"
#include "TravelStats.h"
#include "tracklog/FieldSource.h"
#include "tracklog/TrackStore.h"
#include "tracklog/ZoneShift.h"

namespace tellurix::report {

// What the steps after the read of a run look at.
struct RunContext {
  tracklog::FieldSource& fields;
  tracklog::ZoneState& zone;
  const tracklog::TrackStore& store;
  const TravelStats& stats;
  const ReportNames& names;
  const std::string& userId;
};

}  // namespace tellurix::report

#pragma once

#include <cstdint>
#include <vector>

#include "Legs.h"
#include "tracklog/FieldSource.h"
#include "tracklog/TrackStore.h"

namespace tellurix::report {

// What a run computed after its read, kept for the views that show the report without writing
// it again (the trip map). Reset at the start of every run; `done` only once the run has said
// "Report Done", so a later refused or empty run never leaves another run's legs behind.
struct ReportResults {
  bool done = false;
  std::vector<Leg> legs;  // the legs the report text and the KML files were written from
  tracklog::SpeedUnit unit = tracklog::SpeedUnit::Other;  // as the run read it for the text
  std::int32_t stopPeriodMinutes = 0;                     // as the leg search read it
  std::uint32_t maxSpeedPoint = 0;  // the first selected point at the run's maximum speed
};

// The results of the steps after the read, from the selected points and their legs. Reads the
// unit and the stop period from the fields as the report text did.
ReportResults collectResults(const tracklog::TrackStore& store, int maxSpeed, std::vector<Leg> legs,
                             tracklog::FieldSource& fields);

}  // namespace tellurix::report

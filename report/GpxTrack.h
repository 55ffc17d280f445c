#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Legs.h"
#include "RunContext.h"
#include "tracklog/TrackStore.h"

namespace tellurix::report {

// The selected points as a GPX 1.1 document for every other map and photo tool: a waypoint
// "Stop k" at the last point of every leg that ends in a stop, then one track named
// `trackName` with a segment per leg. Positions and times come from the UTC points. Returns
// false when a write fails; the caller owns `out`.
bool writeGpxTrack(std::FILE* out, const tracklog::TrackStore& store, const std::vector<Leg>& legs,
                   std::string_view trackName);

// ReportBaseName + "-track.gpx" in the report folder.
std::string gpxTrackPath(const ReportNames& names);

// Writes the run's GPX track with the run's legs. A file that cannot be written completely is
// removed and false returned, so no truncated track is left for other tools to read.
bool writeTripGpx(const RunContext& run, const std::vector<Leg>& legs);

}  // namespace tellurix::report

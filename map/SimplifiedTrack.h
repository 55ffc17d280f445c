#pragma once

#include <cstdint>
#include <vector>

#include "TrackGeometry.h"

namespace tellurix::map {

// A stretch of the simplified track in one speed class: vertices [begin, end) of
// SimplifiedTrack::vertices, at least two, with the box around them for culling.
struct TrackRun {
  std::uint8_t speedClass = 0;
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
  WorldBox box;
};

// The track as one zoom level shows it: no segment shorter than the tolerance in pixels except
// where the speed class changes, so a view never draws many more segments than it has pixels
// along the track. Runs are cut into pieces of at most kRunVertices vertices so that a view
// deep inside a long run draws only the pieces it shows.
struct SimplifiedTrack {
  static constexpr std::uint32_t kRunVertices = 64;

  std::vector<std::uint32_t> vertices;  // point indices
  std::vector<TrackRun> runs;
  std::vector<std::uint32_t> dots;  // points with no line to either side: a log piece of one point
};

SimplifiedTrack simplifyTrack(const TrackGeometry& track, int zoom, double tolerancePixels = 1.0);

}  // namespace tellurix::map

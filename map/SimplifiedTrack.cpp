#include "SimplifiedTrack.h"

#include <cmath>

namespace tellurix::map {
namespace {

// Collects segments into runs of one speed class, cut every kRunVertices vertices.
class RunBuilder {
 public:
  RunBuilder(const TrackGeometry& track, SimplifiedTrack& out) : track_(track), out_(out) {}

  // A line from point a to point b, in the class of a.
  void segment(std::uint32_t a, std::uint32_t b) {
    const std::uint8_t speedClass = track_.speedClass(a);
    if (!open_ || speedClass != run_.speedClass || out_.vertices.back() != a ||
        out_.vertices.size() - run_.begin >= SimplifiedTrack::kRunVertices) {
      close();
      open_ = true;
      run_ = {speedClass, static_cast<std::uint32_t>(out_.vertices.size()), 0,
              WorldBox::around(track_.point(a))};
      out_.vertices.push_back(a);
    }
    out_.vertices.push_back(b);
    run_.box.include(track_.point(b));
  }

  void close() {
    if (!open_) return;
    run_.end = static_cast<std::uint32_t>(out_.vertices.size());
    out_.runs.push_back(run_);
    open_ = false;
  }

 private:
  const TrackGeometry& track_;
  SimplifiedTrack& out_;
  TrackRun run_;
  bool open_ = false;
};

double squaredDistance(const WorldPoint& a, const WorldPoint& b) {
  const double dx = a.x - b.x;
  const double dy = a.y - b.y;
  return dx * dx + dy * dy;
}

// Points first .. last, joined: a point closer than the tolerance to the last kept one is left
// out, unless the line from the one before it changes class, which is then kept too.
void simplifyPiece(const TrackGeometry& track, std::uint32_t first, std::uint32_t last, double tolerance2,
                   RunBuilder& runs) {
  std::uint32_t kept = first;
  for (std::uint32_t j = first + 1; j <= last; ++j) {
    if (j < last && squaredDistance(track.point(kept), track.point(j)) < tolerance2) continue;
    if (j - 1 > kept && track.speedClass(j - 1) != track.speedClass(kept)) {
      runs.segment(kept, j - 1);
      kept = j - 1;
    }
    runs.segment(kept, j);
    kept = j;
  }
}

}  // namespace

SimplifiedTrack simplifyTrack(const TrackGeometry& track, int zoom, double tolerancePixels) {
  SimplifiedTrack out;
  const auto n = static_cast<std::uint32_t>(track.size());
  const double tolerance = tolerancePixels / std::ldexp(1.0, zoom);
  RunBuilder runs(track, out);
  std::uint32_t first = 0;
  while (first < n) {
    std::uint32_t last = first;
    while (last + 1 < n && !track.breaksBefore(last + 1)) ++last;
    if (last == first) {
      out.dots.push_back(first);
    } else {
      simplifyPiece(track, first, last, tolerance * tolerance, runs);
    }
    runs.close();
    first = last + 1;
  }
  return out;
}

}  // namespace tellurix::map

#include "Legs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "tracklog/Calendar.h"
#include "tracklog/Geodesy.h"

namespace tellurix::report {
namespace {

using tracklog::TrackPoint;

constexpr double kStopRadius = 200;
constexpr std::array<double, 7> kRefinementRadii{1, 2, 5, 10, 20, 50, 100};

using tracklog::PlanePoint;

// The search measures many points from one anchor: the anchor's terms are worked out once.
PlanePoint planePointOf(const TrackPoint& p) {
  return tracklog::planePointOf(p.latitude, p.longitude);
}

double distanceFrom(const PlanePoint& anchor, const TrackPoint& p) {
  return tracklog::distanceMetres(anchor, p.latitude, p.longitude);
}

// Finds the first point after an anchor that lies beyond the stop radius without measuring a
// long stay point by point. A tree over blocks of points keeps each range's bounding box; a
// range whose four corners all lie inside the radius is passed over whole. That is sound
// because the distance is flat-earth, scaled at the anchor: over a box it is largest at a
// corner. The margin covers rounding, so a range is only passed over when every one of its
// points measures inside, and the answer is the one a point-by-point scan gives.
class StopRadiusScan {
 public:
  StopRadiusScan(const TrackPoint* points, std::uint32_t count) : points_(points), count_(count) {
    blockCount_ = (count + kBlock - 1) / kBlock;
    leafCount_ = 1;
    while (leafCount_ < blockCount_) leafCount_ *= 2;
    boxes_.assign(2 * std::size_t{leafCount_}, Box{});
    for (std::uint32_t i = 0; i < count; ++i) boxes_[leafCount_ + i / kBlock].add(points[i]);
    for (std::size_t node = leafCount_ - 1; node >= 1; --node) {
      boxes_[node] = Box::merged(boxes_[2 * node], boxes_[2 * node + 1]);
    }
  }

  // The first index after `anchor` farther than the stop radius from it, else the point count.
  [[nodiscard]] std::uint32_t firstBeyond(std::uint32_t anchor) const {
    const PlanePoint a = planePointOf(points_[anchor]);
    std::uint32_t i = anchor + 1;
    // On the move the answer is a few points away: measure those directly.
    const std::uint32_t direct = std::min(count_, anchor + 1 + kDirectSteps);
    for (; i < direct; ++i) {
      if (beyond(a, i)) return i;
    }
    while (i < count_) {
      if (i % kBlock == 0) {
        const std::uint32_t block = firstOpenBlock(1, 0, leafCount_, i / kBlock, a);
        if (block == kNone) return count_;
        i = block * kBlock;
      }
      const std::uint32_t blockEnd = std::min(count_, (i / kBlock + 1) * kBlock);
      for (; i < blockEnd; ++i) {
        if (beyond(a, i)) return i;
      }
    }
    return count_;
  }

 private:
  static constexpr std::uint32_t kBlock = 16;
  static constexpr std::uint32_t kDirectSteps = 32;
  static constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
  static constexpr double kMargin = 1e-3;  // metres; rounding errors are below 1e-7 m

  struct Box {
    double minLat = std::numeric_limits<double>::infinity();
    double maxLat = -std::numeric_limits<double>::infinity();
    double minLon = std::numeric_limits<double>::infinity();
    double maxLon = -std::numeric_limits<double>::infinity();
    bool finite = true;  // a box around a NaN or infinite coordinate bounds nothing

    void add(const TrackPoint& p) {
      finite = finite && std::isfinite(p.latitude) && std::isfinite(p.longitude);
      minLat = std::min(minLat, p.latitude);
      maxLat = std::max(maxLat, p.latitude);
      minLon = std::min(minLon, p.longitude);
      maxLon = std::max(maxLon, p.longitude);
    }

    static Box merged(const Box& a, const Box& b) {
      return {std::min(a.minLat, b.minLat), std::max(a.maxLat, b.maxLat), std::min(a.minLon, b.minLon),
              std::max(a.maxLon, b.maxLon), a.finite && b.finite};
    }
  };

  [[nodiscard]] bool beyond(const PlanePoint& anchor, std::uint32_t i) const {
    return !(distanceFrom(anchor, points_[i]) <= kStopRadius);
  }

  [[nodiscard]] static bool inside(const Box& box, const PlanePoint& a) {
    if (!box.finite) return false;
    const double limit = kStopRadius - kMargin;
    const auto near = [&](double lat, double lon) { return tracklog::distanceMetres(a, lat, lon) <= limit; };
    return near(box.minLat, box.minLon) && near(box.minLat, box.maxLon) && near(box.maxLat, box.minLon) &&
           near(box.maxLat, box.maxLon);
  }

  // The first block from `from` on, within the node's blocks [lo, hi), that is not wholly
  // inside the radius around `a`; kNone when there is none.
  [[nodiscard]] std::uint32_t firstOpenBlock(std::size_t node, std::uint32_t lo, std::uint32_t hi,
                                             std::uint32_t from, const PlanePoint& a) const {
    if (hi <= from || lo >= blockCount_ || inside(boxes_[node], a)) return kNone;
    if (hi - lo == 1) return lo;
    const std::uint32_t mid = lo + (hi - lo) / 2;
    const std::uint32_t left = firstOpenBlock(2 * node, lo, mid, from, a);
    return left != kNone ? left : firstOpenBlock(2 * node + 1, mid, hi, from, a);
  }

  const TrackPoint* points_;
  std::uint32_t count_;
  std::uint32_t blockCount_ = 0;
  std::uint32_t leafCount_ = 1;
  std::vector<Box> boxes_;  // node 1 is the root, the leaves start at leafCount_
};

// The longest time, as secondsBetween measures it, from any point at or after an anchor to
// any later point. Once that is shorter than the stop period, no later anchor can start a
// stop. It needs secondsBetween to be a plain difference of times, which holds while the years
// never decrease and span at most two; otherwise it knows nothing.
class RemainingSpan {
 public:
  RemainingSpan(const TrackPoint* points, std::uint32_t count) {
    if (count < 2 || points[count - 1].year - points[0].year > 1) return;
    for (std::uint32_t i = 1; i < count; ++i) {
      if (points[i].year < points[i - 1].year) return;
    }
    // Seconds since the first point; secondsBetween(a, b) = time(b) - time(a) for a before b.
    const auto time = [&](std::uint32_t i) -> std::int64_t {
      return tracklog::secondsBetween(points[0], points[i]);
    };
    longest_.resize(count);
    longest_[count - 1] = std::numeric_limits<std::int64_t>::min();
    std::int64_t latest = time(count - 1);
    for (std::uint32_t a = count - 1; a-- > 0;) {
      const std::int64_t t = time(a);
      longest_[a] = std::max(longest_[a + 1], latest - t);
      latest = std::max(latest, t);
    }
  }

  [[nodiscard]] bool shorterThan(std::uint32_t anchor, std::int64_t periodSeconds) const {
    return !longest_.empty() && longest_[anchor] < periodSeconds;
  }

 private:
  std::vector<std::int64_t> longest_;  // empty when the years rule it out
};

class LegSearch {
 public:
  LegSearch(const TrackPoint* points, std::uint32_t count, tracklog::FieldSource& fields)
      : points_(points), count_(count), fields_(fields), scan_(points, count), remaining_(points, count) {}

  std::vector<Leg> run() {
    std::vector<Leg> legs;
    std::uint32_t start = 0;
    std::uint32_t anchor = 0;
    while (anchor < count_) {
      const std::uint32_t departure = scan_.firstBeyond(anchor);
      if (departure == count_) break;
      const std::int64_t period = stopPeriodSeconds();
      if (tracklog::secondsBetween(points_[anchor], points_[departure]) >= period) {
        legs.push_back(
            makeLeg(legs.size() + 1, start, departure - 1, true, refinedDuration(anchor, departure)));
        start = departure;
        anchor = departure;
      } else if (remaining_.shorterThan(anchor, period)) {
        break;  // every later anchor would fail the same comparison
      } else {
        anchor += 1;
      }
    }
    legs.push_back(makeLeg(legs.size() + 1, start, count_ - 1, false, 0));
    return legs;
  }

 private:
  // The first index after `from` (and before `end`) farther than `radius` from it, else `end`.
  [[nodiscard]] std::uint32_t firstBeyond(std::uint32_t from, double radius, std::uint32_t end) const {
    std::uint32_t i = from + 1;
    const PlanePoint anchor = planePointOf(points_[from]);
    while (i < end && distanceFrom(anchor, points_[i]) <= radius) ++i;
    return i;
  }

  // Read afresh at every comparison: a text that is not a whole number ends the run there.
  std::int64_t stopPeriodSeconds() {
    return std::int64_t{tracklog::wholeNumberField(fields_, tracklog::Field::StopPeriod)} * 60;
  }

  // The stay measured on the tightest, earliest cluster that still lasts the stop period.
  // Each radius walks the stay once, so this is linear in its length.
  std::int32_t refinedDuration(std::uint32_t anchor, std::uint32_t departure) {
    for (const double radius : kRefinementRadii) {
      std::uint32_t b = anchor;
      while (b + 1 < departure) {
        const std::uint32_t f = firstBeyond(b, radius, departure);
        const std::int32_t seconds = tracklog::secondsBetween(points_[b], points_[f]);
        if (seconds >= stopPeriodSeconds()) return seconds;
        b = f;
      }
    }
    return tracklog::secondsBetween(points_[anchor], points_[departure]);
  }

  [[nodiscard]] Leg makeLeg(std::size_t number, std::uint32_t first, std::uint32_t last, bool endsInStop,
                            std::int32_t stopSeconds) const {
    double mileage = 0;
    for (std::uint32_t i = first; i < last; ++i) {
      mileage += tracklog::distanceMetres(points_[i].latitude, points_[i].longitude, points_[i + 1].latitude,
                                          points_[i + 1].longitude);
    }
    return {static_cast<std::uint32_t>(number), first, last, endsInStop, stopSeconds, mileage};
  }

  const TrackPoint* points_;
  std::uint32_t count_;
  tracklog::FieldSource& fields_;
  StopRadiusScan scan_;
  RemainingSpan remaining_;
};

}  // namespace

std::vector<Leg> findLegs(const TrackPoint* localPoints, std::uint32_t pointCount,
                          tracklog::FieldSource& fields) {
  if (pointCount == 0) return {};
  return LegSearch(localPoints, pointCount, fields).run();
}

}  // namespace tellurix::report

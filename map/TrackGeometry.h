#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "TripData.h"
#include "WebMercator.h"

namespace tellurix::map {

// The trip's points as the map draws them: projected, with longitudes unwrapped so that a track
// across the antimeridian stays one piece, each with the report's speed class, and the breaks
// where the log has a gap longer than the stop period.
class TrackGeometry {
 public:
  explicit TrackGeometry(const TripData& trip);

  [[nodiscard]] std::size_t size() const { return points_.size(); }
  [[nodiscard]] const std::vector<WorldPoint>& points() const { return points_; }
  [[nodiscard]] const WorldPoint& point(std::size_t i) const { return points_[i]; }
  // Index into report::kSpeedClasses.
  [[nodiscard]] std::uint8_t speedClass(std::size_t i) const { return classes_[i]; }
  // True when no line joins point i − 1 to point i.
  [[nodiscard]] bool breaksBefore(std::size_t i) const { return breaks_[i] != 0; }
  // The box around points first .. last (clamped to the track); the world's centre without points.
  [[nodiscard]] WorldBox box(std::size_t first, std::size_t last) const;
  [[nodiscard]] WorldBox box() const { return box(0, size() == 0 ? 0 : size() - 1); }

 private:
  std::vector<WorldPoint> points_;
  std::vector<std::uint8_t> classes_;
  std::vector<std::uint8_t> breaks_;
};

// The gap in seconds beyond which the track is broken: the stop period, and at least a minute,
// so that a stop period of 0 does not break every step of the log.
std::int64_t breakSeconds(std::int32_t stopPeriodMinutes);

}  // namespace tellurix::map

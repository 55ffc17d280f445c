#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "TrackPoint.h"

namespace tellurix::tracklog {

// The selected points of the last report run, twice: in report time and in UTC. Both arrays
// are allocated once and never shrink; a run refills them from index 0 and slots from
// pointCount on keep stale data that nobody reads.
class TrackStore {
 public:
  static constexpr std::uint32_t kCapacity = 131072;  // one more than the logger holds

  TrackStore();
  TrackStore(const TrackStore&) = delete;
  TrackStore& operator=(const TrackStore&) = delete;

  [[nodiscard]] const TrackPoint* localPoints() const { return local_.get(); }
  [[nodiscard]] const TrackPoint* utcPoints() const { return utc_.get(); }
  [[nodiscard]] const TrackPoint& local(std::uint32_t i) const { return local_[i]; }
  [[nodiscard]] const TrackPoint& utc(std::uint32_t i) const { return utc_[i]; }

  std::uint32_t pointCount = 0;

  // Copies position, speed and date/time of both points into slot `index` (onFlag is not kept).
  // The caller guarantees index < kCapacity.
  void storePoint(std::uint32_t index, const TrackPoint& localPoint, const TrackPoint& utcPoint);

 private:
  std::unique_ptr<TrackPoint[]> local_;
  std::unique_ptr<TrackPoint[]> utc_;
};

}  // namespace tellurix::tracklog

#include "TrackStore.h"

namespace tellurix::tracklog {
namespace {

TrackPoint withoutFlag(const TrackPoint& p) {
  TrackPoint stored = p;
  stored.onFlag = 0;
  return stored;
}

}  // namespace

TrackStore::TrackStore()
    : local_(std::make_unique<TrackPoint[]>(kCapacity)), utc_(std::make_unique<TrackPoint[]>(kCapacity)) {}

void TrackStore::storePoint(std::uint32_t index, const TrackPoint& localPoint, const TrackPoint& utcPoint) {
  local_[index] = withoutFlag(localPoint);
  utc_[index] = withoutFlag(utcPoint);
}

}  // namespace tellurix::tracklog

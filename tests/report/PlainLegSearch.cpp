#include "PlainLegSearch.h"

#include <array>

#include "tracklog/Calendar.h"
#include "tracklog/Geodesy.h"

namespace tellurix::testing {
namespace {

using report::Leg;
using tracklog::TrackPoint;

constexpr double kStopRadius = 200;
constexpr std::array<double, 7> kRefinementRadii{1, 2, 5, 10, 20, 50, 100};

double distanceBetween(const TrackPoint& a, const TrackPoint& b) {
  return tracklog::distanceMetres(a.latitude, a.longitude, b.latitude, b.longitude);
}

class LegSearch {
 public:
  LegSearch(const TrackPoint* points, std::uint32_t count, tracklog::FieldSource& fields)
      : points_(points), count_(count), fields_(fields) {}

  std::vector<Leg> run() {
    std::vector<Leg> legs;
    std::uint32_t start = 0;
    std::uint32_t anchor = 0;
    while (anchor < count_) {
      const std::uint32_t departure = firstBeyond(anchor, kStopRadius, count_);
      if (departure == count_) break;
      if (lastsStopPeriod(anchor, departure)) {
        legs.push_back(
            makeLeg(legs.size() + 1, start, departure - 1, true, refinedDuration(anchor, departure)));
        start = departure;
        anchor = departure;
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
    while (i < end && distanceBetween(points_[from], points_[i]) <= radius) ++i;
    return i;
  }

  // The stop period is read afresh at every comparison.
  bool lastsStopPeriod(std::uint32_t from, std::uint32_t to) {
    const std::int64_t period =
        std::int64_t{tracklog::wholeNumberField(fields_, tracklog::Field::StopPeriod)} * 60;
    return tracklog::secondsBetween(points_[from], points_[to]) >= period;
  }

  // The stay measured on the tightest, earliest cluster that still lasts the stop period.
  std::int32_t refinedDuration(std::uint32_t anchor, std::uint32_t departure) {
    for (const double radius : kRefinementRadii) {
      std::uint32_t b = anchor;
      while (b + 1 < departure) {
        const std::uint32_t f = firstBeyond(b, radius, departure);
        if (lastsStopPeriod(b, f)) return tracklog::secondsBetween(points_[b], points_[f]);
        b = f;
      }
    }
    return tracklog::secondsBetween(points_[anchor], points_[departure]);
  }

  [[nodiscard]] Leg makeLeg(std::size_t number, std::uint32_t first, std::uint32_t last, bool endsInStop,
                            std::int32_t stopSeconds) const {
    double mileage = 0;
    for (std::uint32_t i = first; i < last; ++i) mileage += distanceBetween(points_[i], points_[i + 1]);
    return {static_cast<std::uint32_t>(number), first, last, endsInStop, stopSeconds, mileage};
  }

  const TrackPoint* points_;
  std::uint32_t count_;
  tracklog::FieldSource& fields_;
};

}  // namespace

std::vector<Leg> plainFindLegs(const TrackPoint* localPoints, std::uint32_t pointCount,
                               tracklog::FieldSource& fields) {
  if (pointCount == 0) return {};
  return LegSearch(localPoints, pointCount, fields).run();
}

}  // namespace tellurix::testing

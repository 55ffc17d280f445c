#pragma once

#include <cstdint>
#include <vector>

#include "tracklog/FieldSource.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::report {

// One leg of the selected points; every leg but the last ends in a stop whose departure
// point, last + 1, is the first point of the next leg.
struct Leg {
  std::uint32_t number = 0;  // 1, 2, 3 ...
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  bool endsInStop = false;
  std::int32_t stopSeconds = 0;  // 0 for the final leg
  double mileage = 0;            // metres over first .. last

  friend bool operator==(const Leg&, const Leg&) = default;
};

// At least one leg when pointCount >= 1. The stop period (minutes) is read from the field at
// every comparison; a text that is not a whole number throws ConversionError.
std::vector<Leg> findLegs(const tracklog::TrackPoint* localPoints, std::uint32_t pointCount,
                          tracklog::FieldSource& fields);

}  // namespace tellurix::report

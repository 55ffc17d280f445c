#pragma once

#include <vector>

#include "report/Legs.h"

namespace tellurix::testing {

// The stop search as the plain rescan from every anchor: quadratic on a long stay, kept as the
// reference that findLegs must match leg for leg.
std::vector<report::Leg> plainFindLegs(const tracklog::TrackPoint* localPoints, std::uint32_t pointCount,
                                       tracklog::FieldSource& fields);

}  // namespace tellurix::testing

#pragma once

#include "tracklog/FieldSource.h"
#include "tracklog/ZoneShift.h"

namespace tellurix::kml {

// What the writers read afresh before every placemark: the window's unit and zone texts, and
// the program-wide zone state that ApplyZoneOffset refreshes (its label is printed after every
// local time).
struct KmlContext {
  tracklog::FieldSource& fields;
  tracklog::ZoneState& zone;
};

}  // namespace tellurix::kml

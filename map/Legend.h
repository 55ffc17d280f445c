#pragma once

#include <string>
#include <vector>

#include "tracklog/FieldSource.h"

namespace tellurix::map {

// One row per speed class of the report, in its order: "Slow 10-60 KPH", "Excessive 120+ KPH".
std::vector<std::string> legendLabels(tracklog::SpeedUnit unit);

}  // namespace tellurix::map

#pragma once

#include <cstdint>

#include "TravelStats.h"
#include "charts/ChartTables.h"

namespace tellurix::report {

// The run's category counts as single-precision shares of the selected points (all 0 when none).
charts::ChartTables chartTablesOf(const TravelStats& stats, std::uint32_t pointCount);

}  // namespace tellurix::report

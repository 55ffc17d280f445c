#pragma once

#include "RunContext.h"

namespace tellurix::report {

// The "-1.csv" … "-3.csv" tables of the selected points.
void writeCsvFiles(const RunContext& run);

}  // namespace tellurix::report

#pragma once

#include <string>
#include <string_view>

#include "ChartTables.h"

namespace tellurix::charts {

// Writes the speed, time-of-day and weekday chart workbook to `path`, replacing a file there.
// The content is an Office Open XML workbook whatever the file is called: spreadsheet programs
// open it by content. Returns false when the workbook could not be written.
[[nodiscard]] bool WriteChartWorkbook(const ChartTables& tables, std::string_view unitText,
                                      const std::string& path);

}  // namespace tellurix::charts

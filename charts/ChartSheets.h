#pragma once

#include <array>
#include <span>
#include <string_view>

#include "ChartTables.h"

namespace tellurix::charts {

// One sheet of the chart workbook: a two-row table (labels over shares) and its column chart.
// The texts are literals, so they can go to the workbook writer as they are.
struct ChartSheet {
  const char* name;
  const char* cornerText;  // A1; A2 always reads "Percentage"
  const char* chartTitle;
  const char* categoryTitle;            // the category axis title
  double tickLabelSize;                 // points, both axes
  std::span<const char* const> labels;  // row 1 from column B; empty when the unit has none
  std::span<const float> shares;        // row 2 from column B
};

// The speed, time-of-day and weekday sheets in workbook order. The speed labels follow the unit
// text ("KPH", "MPH"); any other text leaves the speed sheet's label row empty.
std::array<ChartSheet, 3> chartSheetsFor(const ChartTables& tables, std::string_view unitText);

}  // namespace tellurix::charts

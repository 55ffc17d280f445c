#include "ChartTablesOf.h"

#include <cstddef>

namespace tellurix::report {

namespace {

template <std::size_t N>
std::array<float, N> sharesOf(const std::array<std::int64_t, N>& counts, std::uint32_t pointCount) {
  std::array<float, N> shares{};
  if (pointCount == 0) return shares;
  for (std::size_t i = 0; i < N; ++i) {
    shares[i] = static_cast<float>(counts[i]) / static_cast<float>(pointCount);
  }
  return shares;
}

}  // namespace

charts::ChartTables chartTablesOf(const TravelStats& stats, std::uint32_t pointCount) {
  return {sharesOf(stats.speedCounts, pointCount), sharesOf(stats.timeCounts, pointCount),
          sharesOf(stats.weekdayCounts, pointCount)};
}

}  // namespace tellurix::report

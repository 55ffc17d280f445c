#include "TravelStats.h"

#include <algorithm>

#include "SpeedClasses.h"

namespace tellurix::report {
namespace {

int timeOfDayBucket(const tracklog::TrackPoint& p) {
  const int t = p.hour * 10000 + p.minute * 100 + p.second;
  if (t > 20000 && t <= 60000) return 0;
  if (t > 60000 && t <= 100000) return 1;
  if (t > 100000 && t <= 140000) return 2;
  if (t > 140000 && t <= 180000) return 3;
  if (t > 180000 && t <= 220000) return 4;
  return 5;
}

std::int64_t bucketSum(const std::array<std::int64_t, 13>& counts, std::size_t first, std::size_t last) {
  std::int64_t sum = 0;
  for (std::size_t k = first; k <= last; ++k) sum += counts[k];
  return sum;
}

ShareTables shareTables(const TravelStats& stats, std::int64_t pointCount) {
  std::array<std::int64_t, kSpeedClasses.size()> classes{};
  for (std::size_t k = 0; k < classes.size(); ++k)
    classes[k] = bucketSum(stats.speedCounts, kSpeedClasses[k].firstBucket, kSpeedClasses[k].lastBucket);
  const auto& w = stats.weekdayCounts;
  const std::array<std::int64_t, 7> mondayFirst{w[1], w[2], w[3], w[4], w[5], w[6], w[0]};
  return {shareHundredths(classes, pointCount), shareHundredths(stats.timeCounts, pointCount),
          shareHundredths(mondayFirst, pointCount)};
}

template <std::size_t N>
std::array<float, N> fractions(const std::array<std::int64_t, N>& counts, std::uint32_t pointCount) {
  std::array<float, N> out{};
  if (pointCount == 0) return out;
  // Both fit a float exactly, so the quotient is the correctly rounded fraction.
  for (std::size_t i = 0; i < N; ++i) out[i] = static_cast<float>(counts[i]) / static_cast<float>(pointCount);
  return out;
}

}  // namespace

void TravelStats::addPoint(const tracklog::TrackPoint& local, const tracklog::TrackPoint* previous) {
  const int v = tracklog::wholeSpeed(local);
  speedSum += v;
  maxSpeed = std::max(maxSpeed, v);
  speedCounts[static_cast<std::size_t>(std::min(v / 10, 12))] += 1;
  timeCounts[static_cast<std::size_t>(timeOfDayBucket(local))] += 1;
  weekdayCounts[static_cast<std::size_t>(tracklog::weekdayOf(local.year, local.month, local.day))] += 1;

  if (previous != nullptr) {
    // A one-second step as the seconds field alone shows it.
    const int step = local.second - previous->second;
    if (step == 1 || step == -59) {
      const int d = v - tracklog::wholeSpeed(*previous);
      if (d >= 15 && d < 25) hardAccel += 1;
      if (d >= 25) extremeAccel += 1;
      if (-d >= 15 && -d < 25) hardBrake += 1;
      if (-d >= 25) extremeBrake += 1;
    }
  }
  if (v != 0) movingCount += 1;
}

std::int64_t travelPeriodSeconds(const tracklog::TrackStore& store) {
  const std::int64_t seconds = tracklog::calendarSecondsBetween(
      tracklog::calendarTimeOf(store.local(0)), tracklog::calendarTimeOf(store.local(store.pointCount - 1)));
  return std::max<std::int64_t>(seconds, 0);
}

TravelFigures travelFigures(const TravelStats& stats, const tracklog::TrackStore& store) {
  const std::int64_t n = store.pointCount;
  TravelFigures f;
  f.from = tracklog::calendarTimeOf(store.local(0));
  f.to = tracklog::calendarTimeOf(store.local(store.pointCount - 1));
  f.periodSeconds = travelPeriodSeconds(store);
  f.movingSeconds = std::max<std::int64_t>(0, f.periodSeconds - stats.totalStopSeconds);
  f.drivingAverage = stats.movingCount > 0 ? stats.speedSum / stats.movingCount : 0;
  f.totalAverage = stats.speedSum / n;
  if (f.periodSeconds > 0) {
    const double days = static_cast<double>(f.periodSeconds) / 86400;
    f.hardBrakePerDay = static_cast<double>(stats.hardBrake) / days;
    f.extremeBrakePerDay = static_cast<double>(stats.extremeBrake) / days;
    f.hardAccelPerDay = static_cast<double>(stats.hardAccel) / days;
    f.extremeAccelPerDay = static_cast<double>(stats.extremeAccel) / days;
  }
  f.shares = shareTables(stats, n);
  return f;
}

charts::ChartTables chartTables(const TravelStats& stats, std::uint32_t pointCount) {
  return {fractions(stats.speedCounts, pointCount), fractions(stats.timeCounts, pointCount),
          fractions(stats.weekdayCounts, pointCount)};
}

}  // namespace tellurix::report

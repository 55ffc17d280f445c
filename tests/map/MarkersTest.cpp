#include <gtest/gtest.h>

#include <algorithm>

#include "TripFixtures.h"
#include "map/Markers.h"

namespace tellurix::map {
namespace {

std::string trimmed(const std::string& line) {
  const auto first = line.find_first_not_of(' ');
  return first == std::string::npos ? "" : line.substr(first);
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The report text's block of the leg titled "Stop (k):": its lines after the title, trimmed.
std::vector<std::string> legBlock(const std::vector<std::string>& report, int number) {
  const auto title = std::find(report.begin(), report.end(), "Stop (" + std::to_string(number) + "):");
  if (title == report.end()) return {};
  return {trimmed(title[1]), trimmed(title[2]), trimmed(title[3])};
}

std::vector<const Marker*> ofKind(const MarkerLayer& layer, MarkerKind kind) {
  std::vector<const Marker*> out;
  for (const Marker& m : layer.markers) {
    if (m.kind == kind) out.push_back(&m);
  }
  return out;
}

// The hover shows the report's own lines, from the same run: a marker that recomputed or
// reformatted a stop would drift from the file the user has.
TEST(TripMarkers, StopsEndAndMaxSpeedShowTheLinesOfTheReportText) {
  for (const char* unit : {"KPH", "MPH"}) {
    SCOPED_TRACE(unit);
    const testing::ReportedTrip reported = testing::reportTrip(testing::twoStopDrive(), unit);
    const TripData& trip = *reported.trip;
    const TrackGeometry track(trip);
    const MarkerLayer layer = tripMarkers(trip, track);

    const auto stops = ofKind(layer, MarkerKind::Stop);
    const auto stopLines =
        std::count_if(reported.reportLines.begin(), reported.reportLines.end(),
                      [](const std::string& l) { return trimmed(l).starts_with("stop for:"); });
    ASSERT_EQ(static_cast<long>(stops.size()), stopLines);
    ASSERT_EQ(stops.size(), 2U);
    for (const Marker* stop : stops) {
      SCOPED_TRACE(stop->number);
      const std::vector<std::string> block = legBlock(reported.reportLines, stop->number);
      ASSERT_EQ(block.size(), 3U);
      EXPECT_EQ(stop->hoverLines.front(), "Stop (" + std::to_string(stop->number) + "):");
      for (const std::string& line : block) EXPECT_TRUE(contains(stop->hoverLines, line)) << line;
      // The stop stands at the leg's last point, whose time ends the report's "from ... to" line.
      EXPECT_TRUE(block[0].ends_with(stop->hoverLines[1])) << block[0];
      const report::Leg& leg = trip.results.legs[static_cast<std::size_t>(stop->number - 1)];
      EXPECT_EQ(stop->pointIndex, leg.last);
      EXPECT_EQ(stop->at.x, track.point(leg.last).x);
    }

    const auto ends = ofKind(layer, MarkerKind::End);
    ASSERT_EQ(ends.size(), 1U);
    const std::vector<std::string> finalBlock = legBlock(reported.reportLines, 3);
    ASSERT_EQ(finalBlock.back(), "End");
    EXPECT_TRUE(contains(ends[0]->hoverLines, finalBlock[0]));
    EXPECT_TRUE(contains(ends[0]->hoverLines, finalBlock[1]));
    EXPECT_EQ(ends[0]->pointIndex, trip.points.size() - 1);

    const auto fastest = ofKind(layer, MarkerKind::MaxSpeed);
    ASSERT_EQ(fastest.size(), 1U);
    const auto maxRow = std::find_if(reported.reportLines.begin(), reported.reportLines.end(),
                                     [](const std::string& l) { return l.starts_with("Max. Speed"); });
    ASSERT_NE(maxRow, reported.reportLines.end());
    EXPECT_EQ(trimmed(maxRow->substr(53)), fastest[0]->hoverLines.back());
    EXPECT_EQ(tracklog::wholeSpeed(trip.points[fastest[0]->pointIndex]), 140);

    const auto begins = ofKind(layer, MarkerKind::Begin);
    ASSERT_EQ(begins.size(), 1U);
    const std::string period = trimmed(reported.reportLines[3]);
    EXPECT_TRUE(period.starts_with("from " + begins[0]->hoverLines[1])) << period;
  }
}

TEST(TripMarkers, AOnePointTripHasBeginEndAndMaxSpeedOnItsPoint) {
  const testing::ReportedTrip reported =
      testing::reportTrip(testing::TrackBuilder(25, 121).point(42).points());
  const TrackGeometry track(*reported.trip);
  const MarkerLayer layer = tripMarkers(*reported.trip, track);
  ASSERT_EQ(layer.markers.size(), 3U);
  for (const Marker& m : layer.markers) EXPECT_EQ(m.pointIndex, 0U);
  EXPECT_TRUE(ofKind(layer, MarkerKind::Stop).empty());
}

TEST(TripMarkers, NoReportNoMarkers) {
  const TripData empty;
  EXPECT_TRUE(tripMarkers(empty, TrackGeometry(empty)).markers.empty());
}

}  // namespace
}  // namespace tellurix::map

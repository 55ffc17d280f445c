#include <gtest/gtest.h>

#include "KmlCapture.h"
#include "kml/KmlWriter.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"

namespace tellurix::kml {
namespace {

using testing::fix;

const std::string kCoordinateLead = "\t\t" + std::string(26, ' ');

TEST(TrackPathTest, PathOfThreePointsIsSeventeenLines) {
  const std::vector<tracklog::TrackPoint> points{fix(47.25, 8.5, 10, 2010, 9, 9, 23, 59, 58, 410),
                                                 fix(47.2501, 8.5002, 10, 2010, 9, 9, 23, 59, 59, 410.5F),
                                                 fix(-47.2502, -8.5004, 10, 2010, 9, 10, 0, 0, 0, -3)};
  const std::vector<std::string> lines{"\t        <Placemark>",
                                       "\t\t<name>Path 12</name>",
                                       "\t\t<styleUrl>#linestyle</styleUrl>",
                                       "\t\t<LineString>",
                                       "\t\t\t\t\t<extrude>1</extrude>",
                                       "\t\t\t\t\t<tessellate>1</tessellate>",
                                       "\t\t\t\t\t<coordinates>",
                                       kCoordinateLead + "8.500000,47.250000,410.0",
                                       kCoordinateLead + "8.500200,47.250100,410.5",
                                       kCoordinateLead + "-8.500400,-47.250200,-3.0",
                                       "\t\t\t\t\t</coordinates>",
                                       "  \t\t</LineString>",
                                       "  \t\t<TimeSpan>",
                                       "  \t  \t<begin>2010-09-09T23:59:58Z</begin>",
                                       "  \t\t<end>2010-09-10T00:00:00Z</end>",
                                       "  \t\t</TimeSpan>",
                                       "  \t\t</Placemark>"};
  const std::string bytes = testing::written([&](std::FILE* out) {
    writePathHead(out, 12);
    for (const auto& p : points) writePathCoordinate(out, p);
    writePathTail(out, points.front(), points.back());
  });
  EXPECT_TRUE(testing::sameBytes(testing::crlfText(lines), bytes));
}

TEST(TrackPathTest, TimeSpanKeepsTheSpacePaddedUtcYear) {
  const std::string bytes = testing::written([&](std::FILE* out) {
    writePathTail(out, fix(0, 0, 0, 999, 1, 2, 3, 4, 5), fix(0, 0, 0, 2010, 12, 31, 23, 59, 59));
  });
  const auto lines = testing::crlfLines(bytes);
  ASSERT_EQ(lines.size(), 7U);
  EXPECT_EQ(lines[3], "  \t  \t<begin> 999-01-02T03:04:05Z</begin>");
  EXPECT_EQ(lines[4], "  \t\t<end>2010-12-31T23:59:59Z</end>");
}

}  // namespace
}  // namespace tellurix::kml

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "KmlOutline.h"
#include "report/TripKml.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"
#include "tracklog/Errors.h"

namespace tellurix::report {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using testing::kmlOutline;
using tracklog::Field;
using tracklog::TrackPoint;

// A store, its legs and the two open trip files, as a report run hands them over.
class TripKmlTest : public ::testing::Test {
 protected:
  TripKmlTest() {
    fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
    fields.set(Field::OverSpeed, "90");
    names.reportFolder = dir.path().string() + "/";
    names.pathKmlName = "trip-2010-09-09.kml";
    names.pointKmlName = "trip-2010-09-09_point.kml";
  }

  // UTC fixes one minute apart from 2010-09-09 21:30 UTC, with these speeds.
  void addPoints(const std::vector<float>& speeds) {
    for (const float speed : speeds) {
      const std::uint32_t i = store.pointCount;
      const TrackPoint utc =
          fix(25 + 0.01 * i, 121.5, speed, 2010, 9, 9, 21, 30 + static_cast<int>(i), 0, 10);
      TrackPoint local = utc;
      tracklog::ApplyZoneOffset(zone, fields.text(Field::TimeZone), local);
      store.storePoint(i, local, utc);
      store.pointCount += 1;
    }
  }

  RunContext context() { return {fields, zone, store, stats, names, userId}; }

  void openTripFiles() {
    tracklog::openOrFail(outputs.pathKml, names.reportFolder + names.pathKmlName, "path");
    tracklog::openOrFail(outputs.pointKml, names.reportFolder + names.pointKmlName, "points");
  }

  void writeAll(const std::vector<Leg>& legs) {
    openTripFiles();
    writeTripKml(outputs, context(), legs, [&](const Leg& leg) { onReportBlock(leg); });
    closeTripKml(outputs, context());
  }

  std::string path() { return testing::readFile(dir.path() / names.pathKmlName); }
  std::string points() { return testing::readFile(dir.path() / names.pointKmlName); }

  std::set<std::string> legFiles() const {
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("stop", 0) == 0) files.insert(name);
    }
    return files;
  }

  testing::TempDir dir;
  tracklog::FixedFields fields;
  tracklog::ZoneState zone;
  tracklog::TrackStore store;
  TravelStats stats;
  ReportNames names;
  std::string userId;
  ReportOutputs outputs;
  std::function<void(const Leg&)> onReportBlock = [](const Leg&) {};
};

// Two legs: 0..2 ends in a stop (departure 3), 3..4 ends the report.
const std::vector<Leg> kTwoLegs{{1, 0, 2, true, 1500, 2000}, {2, 3, 4, false, 0, 1000}};

TEST_F(TripKmlTest, ReportBlocksComeAfterEachLegsStopAndBeforeTheNextStart) {
  addPoints({0, 40, 0, 0, 30});
  openTripFiles();
  std::vector<std::string> seen;
  onReportBlock = [&](const Leg& leg) {
    std::fflush(outputs.pathKml.get());
    std::fflush(outputs.pointKml.get());
    seen.push_back(std::to_string(leg.number) + ": " + kmlOutline(path()) + " | " + kmlOutline(points()) +
                   " | " + std::to_string(legFiles().size()) + " leg files");
  };
  writeTripKml(outputs, context(), kTwoLegs, onReportBlock);
  const std::vector<std::string> expected{
      "1: trip-2010-09-09.kml Path 1 . . . Path 2 . . Begin Start 1 Stop 1 | "
      "trip-2010-09-09_point.kml Begin Point 1 Start 1 label Stop 1 /Folder | 2 leg files",
      "2: trip-2010-09-09.kml Path 1 . . . Path 2 . . Begin Start 1 Stop 1 Start 2 Stop 2 | "
      "trip-2010-09-09_point.kml Begin Point 1 Start 1 label Stop 1 /Folder Point 2 Start 2 Stop 2 /Folder | "
      "2 leg files"};
  EXPECT_EQ(seen, expected);

  stats.totalDistance = 12345.6;
  closeTripKml(outputs, context());
  EXPECT_FALSE(outputs.pathKml.isOpen());
  EXPECT_FALSE(outputs.pointKml.isOpen());
  EXPECT_TRUE(kmlOutline(path()).ends_with("Stop 2 End /Folder")) << kmlOutline(path());
  EXPECT_TRUE(kmlOutline(points()).ends_with("Stop 2 /Folder End /Folder")) << kmlOutline(points());
  for (const std::string& doc : {path(), points()}) {
    EXPECT_NE(doc.find("Total mileage: 12.3456-km]]>"), std::string::npos);
    EXPECT_TRUE(doc.ends_with("\t</Placemark>\r\n</Folder>\r\n</kml>\r\n"));
  }
}

TEST_F(TripKmlTest, LegFilesHoldTheirPathWithStartAndStop) {
  addPoints({0, 40, 0, 0, 30});
  writeAll(kTwoLegs);
  // Named after each leg's last point in report time: 21:32 and 21:34 UTC are 05:32 and 05:34
  // on the next day in the zone.
  EXPECT_EQ(legFiles(), (std::set<std::string>{"stop1-2010-09-10_05-32.kml", "stop2-2010-09-10_05-34.kml"}));
  const std::string first = testing::readFile(dir.path() / "stop1-2010-09-10_05-32.kml");
  EXPECT_EQ(kmlOutline(first), "stop1-2010-09-10_05-32.kml Path 1 . . . Start1 Stop1 /Folder");
  EXPECT_NE(first.find("Stop time: 0-day 0-hour 25-min 0-sec]]>"), std::string::npos);
  EXPECT_NE(first.find("Total mileage: 2.0000-km<br />"), std::string::npos);
  const std::string second = testing::readFile(dir.path() / "stop2-2010-09-10_05-34.kml");
  EXPECT_EQ(kmlOutline(second), "stop2-2010-09-10_05-34.kml Path 2 . . Start2 Stop2 /Folder");
  EXPECT_NE(second.find("Stop time: 0-day 0-hour 0-min 0-sec]]>"), std::string::npos);
  EXPECT_TRUE(second.ends_with("</Folder>\r\n</kml>\r\n"));
}

TEST_F(TripKmlTest, FinalLegShowsNoStopTimeWhateverItCarries) {
  addPoints({0, 40, 0});
  writeAll({{1, 0, 2, false, 777, 0}});
  EXPECT_NE(points().find("Stop time: 0-day 0-hour 0-min 0-sec]]>"), std::string::npos);
}

struct LegFileNameCase {
  const char* name;
  const char* userId;
  const char* file;
};
void PrintTo(const LegFileNameCase& c, std::ostream* os) {
  *os << c.name;
}

class LegFileNameTest : public TripKmlTest, public ::testing::WithParamInterface<LegFileNameCase> {};

TEST_P(LegFileNameTest, NamesTheLegFile) {
  userId = GetParam().userId;
  addPoints({0, 40});
  writeAll({{1, 0, 1, false, 0, 0}});
  EXPECT_EQ(legFiles(), std::set<std::string>{GetParam().file});
}

INSTANTIATE_TEST_SUITE_P(
    UserIds, LegFileNameTest,
    ::testing::Values(LegFileNameCase{"without_user_id", "", "stop1-2010-09-10_05-31.kml"},
                      LegFileNameCase{"with_user_id", "ABC123", "stop1-ABC123-2010-09-10_05-31.kml"},
                      LegFileNameCase{"user_id_cannot_leave_the_folder", "../x\\y",
                                      "stop1-.._x_y-2010-09-10_05-31.kml"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TripKmlTest, LegFileThatCannotBeOpenedEndsTheProgram) {
  addPoints({0, 40, 0, 0, 30});
  fs::create_directory(dir.path() / "stop2-2010-09-10_05-34.kml");
  openTripFiles();
  try {
    writeTripKml(outputs, context(), kTwoLegs, onReportBlock);
    FAIL() << "no error";
  } catch (const tracklog::FatalError& e) {
    EXPECT_STREQ(e.what(), "(1)stop_point_file file write open error");
    EXPECT_EQ(e.exitCode(), 1);
  }
  EXPECT_TRUE(fs::exists(dir.path() / "stop1-2010-09-10_05-32.kml"));
}

// Which inner points get a placemark: the run's fastest as MaxSpeed, over-speed ones as track
// points (both in both documents), every other one as a label in the point document.
struct InnerCase {
  const char* name;
  const char* unit;
  const char* limit;
  std::vector<float> speeds;  // the first and the last point are no inner points
  int maxSpeed;
  const char* path;    // the inner placemarks of the trip path document
  const char* points;  // the same of the point document
};
void PrintTo(const InnerCase& c, std::ostream* os) {
  *os << c.name;
}

class InnerPlacemarkTest : public TripKmlTest, public ::testing::WithParamInterface<InnerCase> {};

// The outline between the Start and the Stop placemark of the only leg.
std::string innerOutline(const std::string& doc) {
  const std::string outline = kmlOutline(doc);
  const auto from = outline.find("Start 1") + 7;
  const auto to = outline.find(" Stop 1");
  return outline.substr(from, to - from);
}

TEST_P(InnerPlacemarkTest, ChoosesThePlacemark) {
  const InnerCase& c = GetParam();
  fields.set(Field::SpeedUnit, c.unit);
  fields.set(Field::OverSpeed, c.limit);
  stats.maxSpeed = c.maxSpeed;
  addPoints(c.speeds);
  writeAll({{1, 0, store.pointCount - 1, false, 0, 0}});
  EXPECT_EQ(innerOutline(path()), c.path);
  EXPECT_EQ(innerOutline(points()), c.points);
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, InnerPlacemarkTest,
    ::testing::Values(
        InnerCase{"kph_over_means_above_the_limit",
                  "KPH",
                  "90",
                  {130, 89, 90, 91, 130, 0},
                  130,
                  " track MaxSpeed",
                  " label label track MaxSpeed"},
        InnerCase{"every_point_at_the_maximum_is_marked",
                  "KPH",
                  "90",
                  {0, 120, 50, 120, 0},
                  120,
                  " MaxSpeed MaxSpeed",
                  " MaxSpeed label MaxSpeed"},
        InnerCase{"maximum_below_the_limit_is_marked_too",
                  "KPH",
                  "200",
                  {0, 100, 60, 0},
                  100,
                  " MaxSpeed",
                  " MaxSpeed label"},
        InnerCase{"limit_text_is_trimmed", "KPH", " \t90 ", {0, 95, 0}, 120, " track", " track"},
        // 90 km/h is 56.25 MPH; 80 km/h is 50 MPH exactly, which is not over 50.
        InnerCase{"mph_limit_is_in_miles",
                  "MPH",
                  "50",
                  {0, 90, 80, 79, 120, 0},
                  120,
                  " track MaxSpeed",
                  " track label label MaxSpeed"},
        InnerCase{"other_unit_marks_no_inner_point", "Mph", "90", {0, 120, 95, 10, 0}, 120, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TripKmlTest, LegsOfOneAndTwoPointsHaveNoInnerPlacemarks) {
  fields.set(Field::OverSpeed, "abc");  // never read without an inner point
  addPoints({130, 130, 130});
  writeAll({{1, 0, 0, true, 600, 0}, {2, 1, 2, false, 0, 0}});
  EXPECT_EQ(kmlOutline(path()),
            "trip-2010-09-09.kml Path 1 . Path 2 . . Begin Start 1 Stop 1 Start 2 Stop 2 End /Folder");
  EXPECT_EQ(kmlOutline(points()),
            "trip-2010-09-09_point.kml Begin Point 1 Start 1 Stop 1 /Folder Point 2 Start 2 Stop 2 /Folder "
            "End /Folder");
}

TEST_F(TripKmlTest, OverSpeedTextThatIsNoNumberEndsTheRun) {
  fields.set(Field::OverSpeed, "9O");
  addPoints({0, 40, 0});
  openTripFiles();
  EXPECT_THROW(writeTripKml(outputs, context(), {{1, 0, 2, false, 0, 0}}, onReportBlock),
               tracklog::ConversionError);
}

}  // namespace
}  // namespace tellurix::report

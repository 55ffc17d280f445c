#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "GeotagFixtures.h"
#include "TaggingFixtures.h"
#include "kml/KmlOutline.h"
#include "report/ReportRun.h"
#include "support/LogBuilder.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"
#include "tagging/PhotoCommands.h"
#include "tagging/PhotoPath.h"
#include "tracklog/Errors.h"

namespace tellurix::tagging {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using tracklog::Field;
using tracklog::TrackPoint;

// A fix on 2010-09-09 at `kmNorth` km north of 25°N, at local time (UTC+8) 10:mm:ss.
TrackPoint at(double kmNorth, int minute, int second, float speed) {
  return fix(25.0 + kmNorth / 111.2, 121.5, speed, 2010, 9, 9, 2, minute, second, 20);
}

// Moving the whole time: 10:00:00 to 10:00:40, 500 m between fixes. Point 2 is the fastest,
// point 3 over the limit of 90.
std::vector<TrackPoint> noStopTrack() {
  return {at(0, 0, 0, 0), at(0.5, 0, 10, 40), at(1.0, 0, 20, 100), at(1.5, 0, 30, 95), at(2.0, 0, 40, 0)};
}

// Parked at point 2 from 10:00:20 to 10:02:00; the next leg departs at point 5, 10:02:10.
std::vector<TrackPoint> oneStopTrack() {
  return {at(0, 0, 0, 0),   at(0.5, 0, 10, 40), at(1.0, 0, 20, 10), at(1.0, 1, 0, 0),
          at(1.0, 2, 0, 0), at(1.5, 2, 10, 30), at(2.0, 2, 20, 60), at(2.5, 2, 30, 0)};
}

// The logger was off twice while moving: a stop after point 1, and point 2 a leg of its own.
std::vector<TrackPoint> gapTrack() {
  return {at(0, 0, 0, 20), at(0.5, 0, 10, 30), at(1.0, 5, 0, 30), at(1.5, 10, 0, 30), at(2.0, 10, 10, 30)};
}

using Photos = std::vector<std::pair<std::string, std::string>>;

// Reports on the whole log with a stop period of one minute in Taipei time, then holds the
// photo list for the command.
class PhotoPathTest : public ::testing::Test {
 protected:
  PhotoPathTest() {
    const std::pair<Field, const char*> texts[] = {
        {Field::StartYear, "2000"}, {Field::EndYear, "2100"}, {Field::TimeZone, "(GMT+08:00) Taipei"},
        {Field::SpeedUnit, "KPH"},  {Field::OverSpeed, "90"}, {Field::StopPeriod, "1"}};
    for (const auto& [field, text] : texts) fields.set(field, text);
  }

  void report(const std::vector<TrackPoint>& log) {
    testing::writeLog(dir.file("LOGDATA.BIN"), log);
    testing::RecordingReportUi reportUi(dir.file("out/trip"));
    const report::ReportEnvironment environment{dir.file("LOGDATA.BIN"),
                                                static_cast<std::uint32_t>(log.size() * 16), ""};
    ASSERT_EQ(report::ReportRun(session, fields, reportUi, environment).run(), report::RunOutcome::Done);
  }

  void photos(const Photos& photos) {
    for (const auto& [name, date] : photos) list.append(name, date);
  }

  PhotoPathResult make() { return makePhotoPath(list, session, fields, ui); }

  [[nodiscard]] std::string pathFile() const { return photoPathFileOf(session.names); }
  [[nodiscard]] std::string document() const { return testing::readFile(pathFile()); }

  testing::TempDir dir;
  tracklog::FixedFields fields;
  report::ReportSession session;
  PhotoList list;
  fixtures::RecordingTaggingUi ui;
};

::testing::AssertionResult wellFormed(const std::string& path) {
  const auto lint = testing::runCommand("xmllint --noout " + testing::shellQuoted(path));
  if (lint.status == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "xmllint: " << lint.err;
}

struct PathCase {
  const char* name;
  std::vector<TrackPoint> (*track)();
  const char* unit;
  Photos photos;  // in list order, not date order
  std::string outline;
  std::vector<PhotoPlacement> placements;
};
void PrintTo(const PathCase& c, std::ostream* os) {
  *os << c.name;
}

class PhotoPathCaseTest : public PhotoPathTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(PhotoPathCaseTest, PlacesEveryPhotoInTheWalk) {
  const PathCase& c = GetParam();
  fields.set(Field::SpeedUnit, c.unit);
  report(c.track());
  photos(c.photos);
  const PhotoPathResult result = make();
  EXPECT_EQ(result.outcome, PhotoPathOutcome::Complete);
  EXPECT_EQ(testing::kmlOutline(document()),
            "photo_trip-2010-09-09_point.kml Begin Point 1 Start 1 " + c.outline);
  EXPECT_EQ(result.placements, c.placements);
  EXPECT_TRUE(wellFormed(pathFile()));
  EXPECT_EQ(ui.events, (std::vector<std::string>{"status Integrating pictures with trip track ...",
                                                 "status Make complete"}));
}

INSTANTIATE_TEST_SUITE_P(
    Walks, PhotoPathCaseTest,
    ::testing::Values(
        // Photos older than the track gather at point 1; one at a point's time goes there, a
        // second later to the next; the last point is never compared.
        PathCase{"no_stop",
                 noStopTrack,
                 "KPH",
                 {{"late", "2010/09/09 10:00:31"},
                  {"p2", "2010/09/09 10:00:11"},
                  {"old", "2000/01/01 10:10:10"},
                  {"p1", "2010/09/09 10:00:10"}},
                 "old p1 label p2 MaxSpeed track Stop 1 /Folder End /Folder",
                 {{"old", 1}, {"p1", 1}, {"p2", 2}}},
        // Up to the departure point's time the photos go to the stop point; the departure
        // point itself never gets one. The list would give the one just before it point 5.
        PathCase{"stop_boundary",
                 oneStopTrack,
                 "KPH",
                 {{"after", "2010/09/09 10:02:11"},
                  {"at_departure", "2010/09/09 10:02:10"},
                  {"just_before", "2010/09/09 10:02:05"}},
                 "label label label Stop 1 just_before at_departure /Folder Point 2 Start 2 after MaxSpeed "
                 "Stop 2 /Folder End /Folder",
                 {{"just_before", 4}, {"at_departure", 4}, {"after", 6}}},
        // After a leg of a single point the photos before the next departure go to that
        // departure point itself.
        PathCase{"single_point_leg",
                 gapTrack,
                 "KPH",
                 {{"in_second_gap", "2010/09/09 10:07:00"},
                  {"in_first_gap", "2010/09/09 10:03:00"},
                  {"after_last_compared", "2010/09/09 10:10:05"}},
                 "Stop 1 in_first_gap /Folder Point 2 Start 2 Stop 2 in_second_gap /Folder Point 3 Start 3 "
                 "Stop 3 /Folder End /Folder",
                 {{"in_first_gap", 1}, {"in_second_gap", 3}}},
        // Neither KPH nor MPH: no point placemarks, the photos and leg placemarks stay.
        PathCase{"other_unit_text",
                 noStopTrack,
                 "Km/h",
                 {{"p2", "2010/09/09 10:00:11"}, {"old", "2000/01/01 10:10:10"}},
                 "old p2 Stop 1 /Folder End /Folder",
                 {{"old", 1}, {"p2", 2}}},
        PathCase{"mph",
                 noStopTrack,
                 "MPH",
                 {{"p2", "2010/09/09 10:00:11"}},
                 // 95 km/h is 59 MPH, under a limit of 90 MPH.
                 "label p2 MaxSpeed label Stop 1 /Folder End /Folder",
                 {{"p2", 2}}},
        // One point: no point is compared, so no photo is placed.
        PathCase{"one_point",
                 [] { return std::vector<TrackPoint>{at(0, 0, 0, 30)}; },
                 "KPH",
                 {{"old", "2000/01/01 10:10:10"}, {"same_time", "2010/09/09 10:00:00"}},
                 "Stop 1 /Folder End /Folder",
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PhotoPathTest, OneStopGivesTheGoldenDocument) {
  report(oneStopTrack());
  photos({{"IMG_0003.JPG", "2010/09/09 10:02:11"},
          {"IMG_0001.JPG", "2010/09/09 10:00:05"},
          {"Tom & Jerry <1>.jpg", "2010/09/09 10:01:30"},
          {"IMG_0002.JPG", "2010/09/09 10:00:20"}});
  make();
  EXPECT_TRUE(testing::matchesGolden("photo_path_one_stop/photo_trip-2010-09-09_point.kml", document()));
  EXPECT_TRUE(wellFormed(pathFile()));
}

TEST_F(PhotoPathTest, LeavesTheListSortedByDateWithItsRowsUnchanged) {
  report(noStopTrack());
  photos({{"b", "2010/09/09 10:00:25"}, {"c", "2000/01/01 10:10:10"}, {"a", "2010/09/09 10:00:05"}});
  list.sortBy(PhotoColumn::Name);
  make();
  EXPECT_EQ(list.sortColumn(), PhotoColumn::Date);
  EXPECT_EQ(list.rows(), (std::vector<PhotoEntry>{{"c", "2000/01/01 10:10:10", "", ""},
                                                  {"a", "2010/09/09 10:00:05", "", ""},
                                                  {"b", "2010/09/09 10:00:25", "", ""}}));
}

TEST_F(PhotoPathTest, PlacesAnyNumberOfPhotos) {
  report(noStopTrack());
  for (int i = 0; i < 2500; ++i) list.append("P" + std::to_string(i) + ".jpg", "2010/09/09 10:00:15");
  const PhotoPathResult result = make();
  ASSERT_EQ(result.placements.size(), 2500U);
  EXPECT_EQ(result.placements.back().point, 2U);
  EXPECT_TRUE(wellFormed(pathFile()));
}

TEST_F(PhotoPathTest, RewritesTheDocumentFromTheStart) {
  report(noStopTrack());
  photos({{"a", "2010/09/09 10:00:05"}, {"b", "2010/09/09 10:00:25"}});
  make();
  list.removeAt(1);
  make();
  EXPECT_EQ(testing::kmlOutline(document()),
            "photo_trip-2010-09-09_point.kml Begin Point 1 Start 1 a label MaxSpeed track Stop 1 /Folder End "
            "/Folder");
}

// The command stops where a text fails to convert; the document keeps what was written, without its tail.
struct StopCase {
  const char* name;
  Field field;  // set to `text` before the run, unless `date` is given
  const char* text;
  const char* date;     // a second photo's date, after one dated 10:00:05
  const char* badText;  // what the error names
  std::string outline;
};
void PrintTo(const StopCase& c, std::ostream* os) {
  *os << c.name;
}

class PhotoPathStopTest : public PhotoPathTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(PhotoPathStopTest, EndsTheCommandWithTheDocumentIncomplete) {
  const StopCase& c = GetParam();
  report(noStopTrack());
  photos({{"a", "2010/09/09 10:00:05"}});
  if (c.date != nullptr) photos({{"blank", c.date}});
  if (c.text != nullptr) fields.set(c.field, c.text);
  try {
    make();
    FAIL() << "no conversion error";
  } catch (const tracklog::ConversionError& e) {
    EXPECT_EQ(e.badText(), c.badText);
  }
  EXPECT_EQ(testing::kmlOutline(document()),
            "photo_trip-2010-09-09_point.kml Begin Point 1 Start 1" + c.outline);
  EXPECT_EQ(document().find("</kml>"), std::string::npos);
  EXPECT_EQ(ui.events, std::vector<std::string>{"status Integrating pictures with trip track ..."});
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PhotoPathStopTest,
    ::testing::Values(StopCase{"stop_period", Field::StopPeriod, "ten", nullptr, "ten", ""},
                      StopCase{"over_speed_limit", Field::OverSpeed, "9O", nullptr, "9O", " a"},
                      // A camera that wrote spaces for its date: all six fields blank. It sorts first.
                      StopCase{"blank_camera_date", Field::StopPeriod, nullptr,
                               "    /  /     :  :  ", "              ", ""},
                      StopCase{"letter_in_a_field", Field::StopPeriod, nullptr, "2010/09/09 10:00:1x",
                               "2010090910001x", " a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PhotoPathTest, ADocumentThatCannotBeCreatedEndsTheProgram) {
  report(noStopTrack());
  fs::create_directories(pathFile());  // a folder where the document belongs
  try {
    make();
    FAIL() << "no fatal error";
  } catch (const tracklog::FatalError& e) {
    EXPECT_STREQ(e.what(), "file write open error");
    EXPECT_EQ(e.exitCode(), 1);
  }
}

// A document that opens but cannot be written (a full disk) ends the same way, not with
// "Make complete".
TEST_F(PhotoPathTest, ADocumentThatCannotBeWrittenEndsTheProgram) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  report(noStopTrack());
  photos({{"a", "2010/09/09 10:00:05"}});
  fs::create_symlink("/dev/full", pathFile());
  try {
    make();
    FAIL() << "no fatal error";
  } catch (const tracklog::FatalError& e) {
    EXPECT_STREQ(e.what(), "file write open error");
    EXPECT_EQ(e.exitCode(), 1);
  }
  EXPECT_EQ(ui.events.back(), "status Integrating pictures with trip track ...");
}

// A later report run that selected nothing leaves no track: nothing is read from stale points.
TEST_F(PhotoPathTest, WithoutTrackPointsNothingIsWritten) {
  report(noStopTrack());
  photos({{"b", "2010/09/09 10:00:25"}, {"a", "2010/09/09 10:00:05"}});
  session.store.pointCount = 0;
  EXPECT_EQ(make().outcome, PhotoPathOutcome::NoTrack);
  EXPECT_FALSE(fs::exists(pathFile()));
  EXPECT_EQ(list.row(0).name, "b");
  EXPECT_TRUE(ui.events.empty());
}

// Camera photos loaded as the window loads them, around the stop of oneStopTrack.
class PhotoPathCopiesTest : public PhotoPathTest {
 protected:
  void loadCameraPhotos() {
    report(oneStopTrack());
    fs::create_directories(dir.path() / "camera");
    const std::pair<const char*, const char*> photos[] = {{"just_before.jpg", "2010:09:09 10:02:05"},
                                                          {"p1.jpg", "2010:09:09 10:00:10"},
                                                          {"late.jpg", "2010:09:09 10:02:30"},
                                                          {"p2.jpg", "2010:09:09 10:00:20"}};
    std::vector<std::string> chosen;
    for (const auto& [name, date] : photos) {
      chosen.push_back(dir.file(std::string("camera/") + name));
      testing::writeFile(chosen.back(), fixtures::cameraJpeg(dir.file("scratch.jpg"), date));
      originals.push_back(testing::readFile(chosen.back()));
    }
    ASSERT_EQ(loadPhotos(list, chosen, session, ui), LoadOutcome::Complete);
    ui.events.clear();
  }
  [[nodiscard]] std::string copy(const std::string& name) const { return photoCopyPath(session.names, name); }
  [[nodiscard]] std::string original(std::size_t i) const {
    return testing::readFile(dir.file(std::string("camera/") + kNames[i]));
  }

  static constexpr const char* kNames[] = {"just_before.jpg", "p1.jpg", "late.jpg", "p2.jpg"};
  std::vector<std::string> originals;
};

// Each placed copy takes the position of the point the path gives it (the stop point for the
// photo just before the departure, where the list shows the departure point) with that point's
// UTC time. The photo later than the walk, a copy that cannot be written and the user's own
// files stay as they were.
TEST_F(PhotoPathCopiesTest, PlacedCopiesTakeTheirPathPointsPosition) {
  loadCameraPhotos();
  fs::permissions(copy("p2.jpg"), fs::perms::owner_read);
  const PhotoPathResult result = makePhotoPath(list, session, fields, ui, PhotoPositions::Write);

  EXPECT_EQ(result.placements,
            (std::vector<PhotoPlacement>{{"p1.jpg", 1}, {"p2.jpg", 2}, {"just_before.jpg", 4}}));
  EXPECT_EQ(result.notTagged, std::vector<std::string>{"p2.jpg"});
  EXPECT_EQ(ui.events.back(), "status Make complete (1 photo not tagged)");
  EXPECT_TRUE(wellFormed(pathFile()));
  for (const auto& [name, point, time] :
       {std::tuple{"p1.jpg", 1U, "2 0 10"}, std::tuple{"just_before.jpg", 4U, "2 2 0"}}) {
    const auto back = fixtures::readBack(copy(name));
    ASSERT_TRUE(back) << name;
    EXPECT_NEAR(back->latitude, session.store.utc(point).latitude, 1e-7) << name;
    EXPECT_NEAR(back->longitude, session.store.utc(point).longitude, 1e-7) << name;
    EXPECT_EQ(back->timeStamp, time) << name;
  }
  EXPECT_EQ(testing::readFile(copy("late.jpg")), originals[2]);
  EXPECT_EQ(testing::readFile(copy("p2.jpg")), originals[3]);
  for (std::size_t i = 0; i < originals.size(); ++i) EXPECT_EQ(original(i), originals[i]) << kNames[i];
}

TEST_F(PhotoPathCopiesTest, WithoutBeingAskedTheCopiesStayAsLoaded) {
  loadCameraPhotos();
  EXPECT_EQ(make().notTagged, std::vector<std::string>{});
  EXPECT_EQ(ui.events.back(), "status Make complete");
  for (std::size_t i = 0; i < originals.size(); ++i)
    EXPECT_EQ(testing::readFile(copy(kNames[i])), originals[i]);
}

}  // namespace
}  // namespace tellurix::tagging

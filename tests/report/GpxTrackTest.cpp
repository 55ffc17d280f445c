#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "report/GpxTrack.h"
#include "report/ReportRun.h"
#include "support/LogBuilder.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"

namespace tellurix::report {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using tracklog::Field;
using tracklog::TrackPoint;

// What a GPX reader finds in one <wpt> or <trkpt>; an absent element reads as "-".
struct GpxPoint {
  double lat = 0;
  double lon = 0;
  std::string ele = "-";
  std::string time = "-";
  std::string name = "-";
};

struct GpxDocument {
  std::string version;
  std::string creator;
  std::string ns;
  std::vector<std::string> order;  // the root's child elements
  std::vector<GpxPoint> waypoints;
  std::string trackName;
  std::vector<std::vector<GpxPoint>> segments;
};

std::string textOf(xmlNode* node) {
  xmlChar* text = xmlNodeGetContent(node);
  std::string out = text != nullptr ? reinterpret_cast<const char*>(text) : "";
  xmlFree(text);
  return out;
}

std::string attributeOf(xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string out = value != nullptr ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return out;
}

bool named(xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

GpxPoint pointOf(xmlNode* node) {
  GpxPoint p;
  p.lat = std::stod(attributeOf(node, "lat"));
  p.lon = std::stod(attributeOf(node, "lon"));
  for (xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (named(child, "ele")) p.ele = textOf(child);
    if (named(child, "time")) p.time = textOf(child);
    if (named(child, "name")) p.name = textOf(child);
  }
  return p;
}

// Parses the file with libxml2; a document that is not well formed fails the test.
GpxDocument parseGpx(const fs::path& path) {
  GpxDocument gpx;
  xmlDoc* doc = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET);
  EXPECT_NE(doc, nullptr) << path << " is not well formed";
  if (doc == nullptr) return gpx;
  xmlNode* root = xmlDocGetRootElement(doc);
  EXPECT_TRUE(named(root, "gpx"));
  gpx.version = attributeOf(root, "version");
  gpx.creator = attributeOf(root, "creator");
  gpx.ns = root->ns != nullptr ? reinterpret_cast<const char*>(root->ns->href) : "";
  for (xmlNode* child = root->children; child != nullptr; child = child->next) {
    if (child->type != XML_ELEMENT_NODE) continue;
    gpx.order.emplace_back(reinterpret_cast<const char*>(child->name));
    if (named(child, "wpt")) gpx.waypoints.push_back(pointOf(child));
    if (!named(child, "trk")) continue;
    for (xmlNode* part = child->children; part != nullptr; part = part->next) {
      if (named(part, "name")) gpx.trackName = textOf(part);
      if (!named(part, "trkseg")) continue;
      gpx.segments.emplace_back();
      for (xmlNode* point = part->children; point != nullptr; point = point->next) {
        if (named(point, "trkpt")) gpx.segments.back().push_back(pointOf(point));
      }
    }
  }
  xmlFreeDoc(doc);
  return gpx;
}

std::string gpxTime(const TrackPoint& p) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", p.year, p.month, p.day, p.hour, p.minute,
                p.second);
  return text;
}

// The position as written keeps the logger's 2^-23 degree resolution: well under half a step.
void expectSamePoint(const GpxPoint& read, const TrackPoint& utc, const std::string& where) {
  EXPECT_NEAR(read.lat, utc.latitude, 1e-9) << where;
  EXPECT_NEAR(read.lon, utc.longitude, 1e-9) << where;
  EXPECT_EQ(read.ele, std::to_string(static_cast<int>(utc.altitude))) << where;
  EXPECT_EQ(read.time, gpxTime(utc)) << where;
}

// Two stops of twenty minutes, the second leg ending on a stop, the final leg of one point.
// UTC 10:00 is 18:00 in the selected zone, so a time from the wrong array shows.
std::vector<TrackPoint> twoStopLog() {
  return {fix(25.0, 121.5, 30, 2010, 9, 9, 10, 0, 0, 12),
          fix(25.01, 121.5, 40, 2010, 9, 9, 10, 1, 0, 15),
          fix(25.0101, 121.5001, 0, 2010, 9, 9, 10, 20, 0, 15),
          fix(25.02, 121.51, 45, 2010, 9, 9, 10, 21, 0, 20),
          fix(25.03, 121.52, 50, 2010, 9, 9, 10, 22, 30, 22),
          fix(25.03005, 121.52, 0, 2010, 9, 9, 10, 40, 0, 22),
          fix(-25.04, -121.5, 35, 2010, 9, 9, 10, 41, 1, -3)};
}

class GpxTrackTest : public ::testing::Test {
 protected:
  GpxTrackTest() {
    for (const auto& [field, text] : std::map<Field, const char*>{{Field::StartYear, "2010"},
                                                                  {Field::StartMonth, "9"},
                                                                  {Field::StartDay, "9"},
                                                                  {Field::EndYear, "2010"},
                                                                  {Field::EndMonth, "9"},
                                                                  {Field::EndDay, "10"},
                                                                  {Field::StopPeriod, "10"},
                                                                  {Field::TimeZone, "(GMT+08:00) Taipei"}}) {
      fields.set(field, text);
    }
  }

  RunOutcome run(const std::vector<TrackPoint>& points) {
    testing::writeLog(dir.file("LOGDATA.BIN"), points);
    ui = std::make_unique<testing::RecordingReportUi>(dir.file("out/trip"));
    const ReportEnvironment environment{dir.file("LOGDATA.BIN"),
                                        static_cast<std::uint32_t>(points.size() * 16), userId};
    return ReportRun(session, fields, *ui, environment).run();
  }

  [[nodiscard]] fs::path folder() const { return dir.path() / "out" / "2010-09-09"; }
  [[nodiscard]] fs::path gpxPath() const { return folder() / "trip-track.gpx"; }

  testing::TempDir dir;
  tracklog::FixedFields fields;
  ReportSession session;
  std::unique_ptr<testing::RecordingReportUi> ui;
  std::string userId;
};

struct UnitCase {
  const char* name;
  const char* unit;
};
void PrintTo(const UnitCase& c, std::ostream* os) {
  *os << c.name;
}

class GpxOfEveryUnitTest : public GpxTrackTest, public ::testing::WithParamInterface<UnitCase> {};

// The unit selects the report's texts only; with a unit text that selects neither variant the
// KML files leave out their inner points, and the track must not lose any.
TEST_P(GpxOfEveryUnitTest, HoldsEveryPointPerLegAndAWaypointPerStop) {
  fields.set(Field::SpeedUnit, GetParam().unit);
  ASSERT_EQ(run(twoStopLog()), RunOutcome::Done);
  EXPECT_EQ(ui->messages(), std::vector<std::string>{});
  const tracklog::TrackStore& store = session.store;

  const GpxDocument gpx = parseGpx(gpxPath());
  EXPECT_EQ(gpx.version, "1.1");
  EXPECT_EQ(gpx.creator, "Tellurix");
  EXPECT_EQ(gpx.ns, "http://www.topografix.com/GPX/1/1");
  EXPECT_EQ(gpx.order, (std::vector<std::string>{"wpt", "wpt", "trk"}));
  EXPECT_EQ(gpx.trackName, "trip-2010-09-09.kml");

  ASSERT_EQ(gpx.waypoints.size(), 2U);
  EXPECT_EQ(gpx.waypoints[0].name, "Stop 1");
  expectSamePoint(gpx.waypoints[0], store.utc(2), "stop 1");
  EXPECT_EQ(gpx.waypoints[1].name, "Stop 2");
  expectSamePoint(gpx.waypoints[1], store.utc(5), "stop 2");

  const std::vector<std::vector<std::uint32_t>> legPoints{{0, 1, 2}, {3, 4, 5}, {6}};
  ASSERT_EQ(gpx.segments.size(), legPoints.size());
  for (std::size_t s = 0; s < legPoints.size(); ++s) {
    ASSERT_EQ(gpx.segments[s].size(), legPoints[s].size()) << "segment " << s;
    for (std::size_t k = 0; k < legPoints[s].size(); ++k) {
      expectSamePoint(gpx.segments[s][k], store.utc(legPoints[s][k]),
                      "segment " + std::to_string(s) + " point " + std::to_string(k));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Units, GpxOfEveryUnitTest,
                         ::testing::Values(UnitCase{"kph", "KPH"}, UnitCase{"mph", "MPH"},
                                           UnitCase{"other_unit_text", "Km/h"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GpxTrackTest, TheTwoStopTrackAsWritten) {
  ASSERT_EQ(run(twoStopLog()), RunOutcome::Done);
  EXPECT_TRUE(testing::matchesGolden("gpx_two_stops/trip-track.gpx", testing::readFile(gpxPath())));
}

// One CSV row per point, the columns named in the header row; lines end in CR LF.
std::vector<std::map<std::string, std::string>> csvRows(const std::string& csv) {
  std::vector<std::map<std::string, std::string>> rows;
  std::istringstream lines(csv);
  std::string line;
  std::vector<std::string> header;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cells;
    std::istringstream cellStream(line);
    for (std::string cell; std::getline(cellStream, cell, ',');) cells.push_back(cell);
    if (header.empty()) {
      header = cells;
      continue;
    }
    std::map<std::string, std::string> row;
    for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i) row[header[i]] = cells[i];
    rows.push_back(row);
  }
  return rows;
}

void expectReadBack(const std::map<std::string, std::string>& row, const TrackPoint& utc,
                    const std::string& where) {
  for (const char* column : {"Latitude", "Longitude", "Altitude", "Date", "Time"}) {
    ASSERT_EQ(row.count(column), 1U) << where << ": no " << column;
  }
  EXPECT_NEAR(std::stod(row.at("Latitude")), utc.latitude, 5.1e-7) << where;  // printed with six decimals
  EXPECT_NEAR(std::stod(row.at("Longitude")), utc.longitude, 5.1e-7) << where;
  EXPECT_EQ(std::stod(row.at("Altitude")), utc.altitude) << where;
  char date[16];
  char time[16];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d", utc.year, utc.month, utc.day);
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", utc.hour, utc.minute, utc.second);
  EXPECT_EQ(row.at("Date"), date) << where;
  EXPECT_EQ(row.at("Time"), time) << where;
}

// Another program's GPX reader finds the same waypoints, points and times.
TEST_F(GpxTrackTest, AnotherGpxReaderFindsTheSamePointsAndTimes) {
  ASSERT_EQ(run(twoStopLog()), RunOutcome::Done);
  if (testing::runCommand("command -v gpsbabel").status != 0) GTEST_SKIP() << "gpsbabel is not installed";
  const std::string file = testing::shellQuoted(gpxPath().string());

  const auto waypoints = testing::runCommand("TZ=UTC gpsbabel -i gpx -f " + file + " -o unicsv -F -");
  ASSERT_EQ(waypoints.status, 0) << waypoints.err;
  const auto stops = csvRows(waypoints.out);
  ASSERT_EQ(stops.size(), 2U) << waypoints.out;
  EXPECT_EQ(stops[0].at("Name"), "\"Stop 1\"");
  expectReadBack(stops[0], session.store.utc(2), "stop 1");
  expectReadBack(stops[1], session.store.utc(5), "stop 2");

  const auto track = testing::runCommand("TZ=UTC gpsbabel -t -i gpx -f " + file + " -o unicsv -F -");
  ASSERT_EQ(track.status, 0) << track.err;
  const auto points = csvRows(track.out);
  ASSERT_EQ(points.size(), session.store.pointCount) << track.out;
  for (std::uint32_t i = 0; i < session.store.pointCount; ++i) {
    expectReadBack(points[i], session.store.utc(i), "point " + std::to_string(i));
  }
}

struct NameCase {
  const char* name;
  const char* userId;
  const char* trackName;  // as an XML reader reads it back
};
void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.name;
}

class GpxTrackNameTest : public GpxTrackTest, public ::testing::WithParamInterface<NameCase> {};

// The user id comes from the logger as it stands; whatever it holds, the document stays readable.
TEST_P(GpxTrackNameTest, TheUserIdInTheTrackNameKeepsTheDocumentWellFormed) {
  userId = GetParam().userId;
  ASSERT_EQ(run(twoStopLog()), RunOutcome::Done);
  const GpxDocument gpx = parseGpx(gpxPath());
  EXPECT_EQ(gpx.trackName, GetParam().trackName);
  EXPECT_EQ(gpx.segments.size(), 3U);
}

INSTANTIATE_TEST_SUITE_P(
    UserIds, GpxTrackNameTest,
    ::testing::Values(NameCase{"markup", "A&B<1>", "trip-A&B<1>-2010-09-09.kml"},
                      NameCase{"entity_lookalike", "&amp;]]>", "trip-&amp;]]>-2010-09-09.kml"},
                      NameCase{"quotes", "\"Jo's\"", "trip-\"Jo's\"-2010-09-09.kml"},
                      NameCase{"utf8_kept", "Zo\xC3\xAB", "trip-Zo\xC3\xAB-2010-09-09.kml"},
                      NameCase{"latin1_byte", "Ren\xE9", "trip-Ren\xEF\xBF\xBD-2010-09-09.kml"},
                      NameCase{"overlong_slash", "\xC0\xAF", "trip-\xEF\xBF\xBD\xEF\xBF\xBD-2010-09-09.kml"},
                      NameCase{"cut_sequence", "x\xE2\x82", "trip-x\xEF\xBF\xBD\xEF\xBF\xBD-2010-09-09.kml"},
                      NameCase{"not_a_character", "\xEF\xBF\xBE",
                               "trip-\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD-2010-09-09.kml"}),
    [](const auto& info) { return std::string(info.param.name); });

// The finished report is kept when its GPX cannot be written: a message, then "Report Done".
TEST_F(GpxTrackTest, AGpxThatCannotBeOpenedIsReportedAndTheReportFinishes) {
  fs::create_directories(gpxPath());  // a folder where the file should go
  const RunOutcome outcome = run(twoStopLog());
  EXPECT_EQ(outcome, RunOutcome::Done);
  EXPECT_EQ(ui->messages(), std::vector<std::string>{"|GPX file write open error"});
  EXPECT_EQ(ui->events.back(), "status Report Done");
  EXPECT_TRUE(fs::is_directory(gpxPath())) << "the folder in the way is not the run's to remove";
  const std::string pathKml = testing::readFile(folder() / "trip-2010-09-09.kml");
  EXPECT_NE(pathKml.find("</kml>"), std::string::npos) << "the trip KML is complete";
}

TEST_F(GpxTrackTest, AGpxThatFailsWhileWrittenIsReportedAndRemoved) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to fill";
  fs::create_directories(folder());
  fs::create_symlink("/dev/full", gpxPath());  // opens, and every write fails: a full disk
  const RunOutcome outcome = run(twoStopLog());
  EXPECT_EQ(outcome, RunOutcome::Done);
  EXPECT_EQ(ui->messages(), std::vector<std::string>{"|GPX file write open error"});
  EXPECT_EQ(ui->events.back(), "status Report Done");
  EXPECT_FALSE(fs::exists(fs::symlink_status(gpxPath()))) << "no truncated track is left behind";
}

struct TimeCase {
  const char* name;
  int year, month, day, hour, minute, second;
  const char* time;  // "-" for no <time>
};
void PrintTo(const TimeCase& c, std::ostream* os) {
  *os << c.name;
}

class GpxTimeTest : public ::testing::TestWithParam<TimeCase> {};

// A damaged record keeps its out-of-range date fields; a GPX reader would misread such a time
// (second 60 turns into midnight) or reject the point, so the point goes without one.
TEST_P(GpxTimeTest, OnlyARealUtcTimeIsWritten) {
  const TimeCase& c = GetParam();
  tracklog::TrackStore store;
  TrackPoint p = fix(1.5, 2.5, 0, c.year, c.month, c.day, c.hour, c.minute, c.second);
  store.storePoint(0, p, p);
  store.pointCount = 1;
  testing::TempDir dir;
  const fs::path path = dir.path() / "t.gpx";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  EXPECT_TRUE(writeGpxTrack(out, store, {Leg{1, 0, 0, false, 0, 0}}, "t"));
  std::fclose(out);
  const GpxDocument gpx = parseGpx(path);
  ASSERT_EQ(gpx.segments.size(), 1U);
  ASSERT_EQ(gpx.segments[0].size(), 1U);
  EXPECT_EQ(gpx.segments[0][0].time, c.time);
  EXPECT_NEAR(gpx.segments[0][0].lat, 1.5, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Times, GpxTimeTest,
    ::testing::Values(
        TimeCase{"leap_day", 2012, 2, 29, 23, 59, 59, "2012-02-29T23:59:59Z"},
        TimeCase{"first_second", 2011, 1, 1, 0, 0, 0, "2011-01-01T00:00:00Z"},
        TimeCase{"no_leap_day", 2010, 2, 29, 12, 0, 0, "-"},
        TimeCase{"day_31_of_april", 2010, 4, 31, 12, 0, 0, "-"},
        TimeCase{"month_0", 2010, 0, 9, 12, 0, 0, "-"}, TimeCase{"month_13", 2010, 13, 9, 12, 0, 0, "-"},
        TimeCase{"day_0", 2010, 9, 0, 12, 0, 0, "-"}, TimeCase{"hour_24", 2010, 9, 9, 24, 0, 0, "-"},
        TimeCase{"minute_60", 2010, 9, 9, 12, 60, 0, "-"}, TimeCase{"second_60", 2010, 9, 9, 12, 0, 60, "-"}),
    [](const auto& info) { return std::string(info.param.name); });

// The desktop runs in the user's locale; the numbers a GPX reader parses keep their decimal point.
TEST_F(GpxTrackTest, CoordinatesKeepTheirDecimalPointUnderADecimalCommaLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "no de_DE.UTF-8 (tools/install-deps.sh)";
  const RunOutcome outcome =
      run({fix(25.5, 121.25, 0, 2010, 9, 9, 10, 0, 0, 7), fix(25.75, -0.5, 0, 2010, 9, 9, 10, 0, 1)});
  std::setlocale(LC_ALL, previous.c_str());
  ASSERT_EQ(outcome, RunOutcome::Done);
  const std::string text = testing::readFile(gpxPath());
  EXPECT_NE(text.find(R"(lat="25.500000000" lon="121.250000000")"), std::string::npos) << text;
  EXPECT_NE(text.find(R"(lat="25.750000000" lon="-0.500000000")"), std::string::npos) << text;
}

}  // namespace
}  // namespace tellurix::report

#include <gtest/gtest.h>

#include <filesystem>

#include "KmlOutline.h"
#include "report/ReportRun.h"
#include "support/LogBuilder.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"
#include "tools/demotrack/DemoTrack.h"

namespace tellurix::report {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using testing::shellQuoted;
using tracklog::Field;
using tracklog::TrackPoint;

// The KML files of whole report runs, as the user finds them in the report folder.
class TripKmlFilesTest : public ::testing::Test {
 protected:
  TripKmlFilesTest() {
    const std::pair<Field, const char*> texts[] = {
        {Field::StartYear, "2000"}, {Field::EndYear, "2100"}, {Field::TimeZone, "(GMT+08:00) Taipei"},
        {Field::SpeedUnit, "KPH"},  {Field::OverSpeed, "90"}, {Field::StopPeriod, "10"}};
    for (const auto& [field, text] : texts) fields.set(field, text);
  }

  void run(const std::vector<TrackPoint>& log) {
    testing::writeLog(dir.file("LOGDATA.BIN"), log);
    testing::RecordingReportUi ui(dir.file("out/trip"));
    const ReportEnvironment environment{dir.file("LOGDATA.BIN"), static_cast<std::uint32_t>(log.size() * 16),
                                        userId};
    ASSERT_EQ(ReportRun(session, fields, ui, environment).run(), RunOutcome::Done);
  }

  [[nodiscard]] std::vector<fs::path> kmlFiles() const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(session.names.reportFolder)) {
      if (entry.path().extension() == ".kml") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  testing::TempDir dir;
  tracklog::FixedFields fields;
  ReportSession session;
  std::string userId;
};

// Twelve fixes ten seconds apart and one parked stretch: one stop with its two legs, an
// over-speed point, the run's maximum and label points in both legs.
std::vector<TrackPoint> oneStopLog() {
  struct Fix {
    double latitude;
    float speed;
    int minute;
    int second;
    float altitude;
  };
  const Fix fixes[] = {{25.0000, 0, 0, 0, 10},    {25.0010, 40, 0, 10, 11}, {25.0020, 95, 0, 20, 12},
                       {25.0030, 100, 0, 30, 12}, {25.0040, 20, 0, 40, 13}, {25.0041, 0, 0, 50, 13},
                       {25.0041, 0, 2, 0, 13},    {25.0041, 0, 3, 0, 13},   {25.0070, 50, 3, 10, 14},
                       {25.0085, 60, 3, 20, 15},  {25.0100, 55, 3, 30, 15}, {25.0115, 30, 3, 40, 16}};
  std::vector<TrackPoint> log;
  for (const Fix& f : fixes)
    log.push_back(fix(f.latitude, 121.5, f.speed, 2010, 9, 9, 10, f.minute, f.second, f.altitude));
  return log;
}

TEST_F(TripKmlFilesTest, OneStopGivesTheGoldenDocuments) {
  fields.set(Field::StopPeriod, "1");
  userId = "ABC123";
  run(oneStopLog());
  std::vector<std::string> names;
  for (const fs::path& file : kmlFiles()) {
    names.push_back(file.filename().string());
    EXPECT_TRUE(testing::matchesGolden("trip_kml_one_stop/" + names.back(), testing::readFile(file)));
  }
  const std::vector<std::string> expected{"stop1-ABC123-2010-09-09_18-03.kml",
                                          "stop2-ABC123-2010-09-09_18-03.kml", "trip-ABC123-2010-09-09.kml",
                                          "trip-ABC123-2010-09-09_point.kml"};
  EXPECT_EQ(names, expected);
}

bool haveProgram(const std::string& name) {
  return testing::runCommand("command -v " + name).status == 0;
}

std::size_t coordinateLines(const std::string& kml) {
  const auto lines = testing::crlfLines(kml);
  return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("\t\t                          ", 0) == 0;
  }));
}

struct UnitCase {
  const char* name;
  const char* unit;
};
void PrintTo(const UnitCase& c, std::ostream* os) {
  *os << c.name;
}

class TripKmlViewerTest : public TripKmlFilesTest, public ::testing::WithParamInterface<UnitCase> {};

// A realistic log with several stops and a user id with markup characters: every file opens
// in an XML parser, and a second KML reader finds every point of every path.
TEST_P(TripKmlViewerTest, EveryKmlIsWellFormedAndReadBack) {
  ASSERT_TRUE(haveProgram("xmllint")) << "xmllint (libxml2-utils) is needed: run tools/install-deps.sh";
  fields.set(Field::SpeedUnit, GetParam().unit);
  userId = "A&B<1>";
  tellurix::demotrack::DemoTrackOptions options;
  options.records = 10000;
  run(tellurix::demotrack::makeDemoTrack(options));

  const std::vector<fs::path> files = kmlFiles();
  ASSERT_GE(files.size(), 5U) << "expected at least three legs";
  for (const fs::path& file : files) {
    const auto lint = testing::runCommand("xmllint --noout " + shellQuoted(file.string()));
    EXPECT_EQ(lint.status, 0) << file.filename() << ": " << lint.err;
  }

  if (!haveProgram("gpsbabel")) GTEST_SKIP() << "gpsbabel is not installed";
  std::size_t legPoints = 0;
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    if (name.rfind("stop", 0) != 0 && name.find("_point") != std::string::npos) continue;
    const auto read =
        testing::runCommand("gpsbabel -t -i kml -f " + shellQuoted(file.string()) + " -o unicsv -F -");
    ASSERT_EQ(read.status, 0) << name << ": " << read.err;
    const auto rows = static_cast<std::size_t>(std::count(read.out.begin(), read.out.end(), '\n'));
    const std::size_t expected = coordinateLines(testing::readFile(file));
    EXPECT_EQ(rows, expected + 1) << name;  // one header row
    if (name.rfind("stop", 0) == 0) legPoints += expected;
  }
  EXPECT_EQ(legPoints, session.store.pointCount);
}

INSTANTIATE_TEST_SUITE_P(Units, TripKmlViewerTest,
                         ::testing::Values(UnitCase{"kph", "KPH"}, UnitCase{"mph", "MPH"},
                                           UnitCase{"other_unit_text", "Km/h"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tellurix::report

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>

#include "StoredRun.h"
#include "report/CsvExport.h"
#include "report/CsvRow.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"
#include "tracklog/Errors.h"
#include "tracklog/Geodesy.h"

namespace tellurix::report {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using tracklog::Field;
using tracklog::TrackPoint;

std::string printfRow(const CsvRowValues& v) {
  char text[kCsvRowCapacity];
  std::snprintf(text, sizeof text, "%4d,%02d,%02d,%02d,%02d,%02d,%.7f,%.7f,%.2f,%.2f,%.2f,%.2f,%f\r\n",
                v.year, v.month, v.day, v.hour, v.minute, v.second, v.latitude, v.longitude, v.altitude,
                v.speed, v.bearing, v.distance, v.mileage);
  return text;
}

std::string fastRow(const CsvRowValues& v) {
  char text[kCsvRowCapacity];
  return {text, formatCsvRow(v, text)};
}

TEST(CsvRowTest, WritesWhatThePrintfTemplateWrites) {
  std::mt19937_64 random(11);
  std::uniform_int_distribution<int> field(0, 255);
  std::uniform_int_distribution<int> year(0, 65535);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> exponent(-12, 12);
  // Exact ties at 2, 6 and 7 decimals, signed zeros, huge and tiny values.
  const double special[] = {0.125,     -0.125, 2.675,        1.005,   0.0078125,
                            1.0000005, -0.0,   0.0,          1e300,   -1e300,
                            1e-300,    5e-324, 255.99999995, 359.995, 1609 * 0.001 * 0.625};
  const auto value = [&](std::size_t i) {
    switch (random() % 4) {
      case 0:
        return special[random() % std::size(special)];
      case 1:
        return unit(random) * std::pow(10.0, exponent(random));
      case 2:
        return std::round(unit(random) * 100000) / 8;  // multiples of 1/8: ties at 2 decimals
      default:
        return unit(random) * (i < 2 ? 180 : 20000);
    }
  };
  for (int n = 0; n < 200000; ++n) {
    CsvRowValues v{year(random),  field(random), field(random), field(random), field(random),
                   field(random), value(0),      value(1),      value(2),      value(3),
                   value(4),      value(5),      value(6)};
    if (n % 50 == 0) v.month = -field(random);  // signs under zero padding
    ASSERT_EQ(fastRow(v), printfRow(v));
  }
}

// An origin latitude and a point north of it exactly `metres` away by the logger's distance.
std::pair<double, double> exactlyNorth(double metres) {
  const auto north = [](double a, double b) { return tracklog::distanceMetres(a, 10, b, 10); };
  for (int k = 1; k < 1000; ++k) {
    const double origin = k / 1000.0;
    double lo = origin;
    double hi = origin + 2 * metres / 110000;
    while (std::nextafter(lo, hi) < hi) {
      const double mid = lo + (hi - lo) / 2;
      (north(origin, mid) <= metres ? lo : hi) = mid;
    }
    if (north(origin, lo) == metres) return {origin, lo};
  }
  return {};
}

class CsvExportTest : public ::testing::Test {
 protected:
  CsvExportTest() {
    run.names.reportFolder = dir.path().string() + "/";
    run.names.reportBaseName = "trip";
  }

  [[nodiscard]] fs::path part(int n) const { return dir.path() / ("trip-" + std::to_string(n) + ".csv"); }
  [[nodiscard]] std::vector<std::string> lines(int n) const {
    return testing::crlfLines(testing::readFile(part(n)));
  }

  testing::TempDir dir;
  testing::StoredRun run;
};

struct UnitCase {
  const char* name;
  const char* unit;
  std::vector<std::string> lines;
};
void PrintTo(const UnitCase& c, std::ostream* os) {
  *os << c.name;
}

class CsvUnitTest : public CsvExportTest, public ::testing::WithParamInterface<UnitCase> {};

// Three points: a start 100 m up at 60 km/h, a point exactly 1609 m north, and the same fix again.
TEST_P(CsvUnitTest, WritesTheHeaderAndRowsOfTheUnit) {
  const auto [origin, north] = exactlyNorth(1609);
  ASSERT_NE(origin, 0.0);
  run.select({fix(origin, 10, 60, 2010, 9, 9, 23, 59, 59, 100),
              fix(north, 10, 0, 2010, 9, 10, 0, 0, 0, 12.5F),
              fix(north, 10, 0, 2010, 9, 10, 0, 0, 1, 12.5F)});
  run.fields.set(Field::SpeedUnit, GetParam().unit);
  writeCsvFiles(run.context());
  std::vector<std::string> rows = lines(1);
  // Latitudes vary with the search; the rest of each row is the case's.
  for (std::size_t i = 1; i < rows.size(); ++i) rows[i].replace(20, rows[i].find(',', 20) - 20, "LAT");
  EXPECT_EQ(rows, GetParam().lines);
  EXPECT_FALSE(fs::exists(part(2)));
}

INSTANTIATE_TEST_SUITE_P(
    Units, CsvUnitTest,
    ::testing::Values(
        UnitCase{"kph",
                 "KPH",
                 {"Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Altitude(m),Speed(KPH),Bearing,"
                  "Distance(m),"
                  "Mileage(Km)",
                  "2010,09,09,23,59,59,LAT,10.0000000,100.00,60.00,0.00,0.00,0.000000",
                  "2010,09,10,00,00,00,LAT,10.0000000,12.50,0.00,0.00,1609.00,1.609000",
                  "2010,09,10,00,00,01,LAT,10.0000000,12.50,0.00,0.00,0.00,1.609000"}},
        UnitCase{"mph_converts_the_row_only",
                 "MPH",
                 {"Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Altitude(ft),Speed(MPH),Bearing,"
                  "Distance(ft),Mileage(Mi)",
                  "2010,09,09,23,59,59,LAT,10.0000000,328.00,37.50,0.00,0.00,0.000000",
                  "2010,09,10,00,00,00,LAT,10.0000000,41.00,0.00,0.00,5277.52,1.005625",
                  "2010,09,10,00,00,01,LAT,10.0000000,41.00,0.00,0.00,0.00,1.005625"}},
        UnitCase{"another_unit_text_leaves_the_file_empty", "kph", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CsvExportTest, BearingIsFromThePreviousPoint) {
  run.select({fix(25, 121, 0, 2010, 9, 9, 0, 0, 0), fix(25, 121.001, 0, 2010, 9, 9, 0, 0, 1),
              fix(24.999, 121.001, 0, 2010, 9, 9, 0, 0, 2)});
  writeCsvFiles(run.context());
  const std::vector<std::string> rows = lines(1);
  ASSERT_EQ(rows.size(), 4U);
  EXPECT_NE(rows[2].find(",90.00,"), std::string::npos) << rows[2];
  EXPECT_NE(rows[3].find(",180.00,"), std::string::npos) << rows[3];
}

struct SplitCase {
  const char* name;
  std::uint32_t points;
  const char* unit;
  std::vector<std::size_t> lines;  // per file, the header included
};
void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << c.name;
}

class CsvSplitTest : public CsvExportTest, public ::testing::WithParamInterface<SplitCase> {};

TEST_P(CsvSplitTest, SplitsAfterEvery65535Rows) {
  const SplitCase& c = GetParam();
  std::vector<TrackPoint> points =
      testing::straightDrive(fix(25, 121, 36, 2010, 9, 9, 0, 0, 0), static_cast<int>(c.points), 10, 36);
  run.select(points);
  run.fields.set(Field::SpeedUnit, c.unit);
  writeCsvFiles(run.context());
  const auto mileage = [](const std::string& row) { return std::stod(row.substr(row.rfind(',') + 1)); };
  double lastMileage = 0;
  for (std::size_t n = 0; n < 3; ++n) {
    SCOPED_TRACE("file -" + std::to_string(n + 1) + ".csv");
    if (n >= c.lines.size()) {
      EXPECT_FALSE(fs::exists(part(static_cast<int>(n) + 1)));
      continue;
    }
    const std::vector<std::string> rows = lines(static_cast<int>(n) + 1);
    ASSERT_EQ(rows.size(), c.lines[n]);
    if (rows.size() < 2) continue;
    // Each file goes on with the next point and the running mileage, one 10 m step further.
    const TrackPoint& first = points[n * 65535];
    char start[32];
    std::snprintf(start, sizeof start, "%4d,%02d,%02d,%02d,%02d,%02d,", first.year, first.month, first.day,
                  first.hour, first.minute, first.second);
    EXPECT_EQ(rows[1].rfind(start, 0), 0U) << rows[1];
    if (n > 0) {
      EXPECT_NEAR(mileage(rows[1]) - lastMileage, 0.010, 0.0005);
    }
    lastMileage = mileage(rows.back());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CsvSplitTest,
    ::testing::Values(SplitCase{"one_row_short", 65534, "KPH", {65535}},
                      SplitCase{"a_full_first_file_opens_an_empty_second", 65535, "KPH", {65536, 1}},
                      SplitCase{"one_row_over", 65536, "KPH", {65536, 2}},
                      SplitCase{"two_full_files_open_an_empty_third", 131070, "KPH", {65536, 65536, 1}},
                      SplitCase{"a_full_store", 131072, "KPH", {65536, 65536, 3}},
                      SplitCase{"another_unit_still_splits", 65535, "", {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct OpenFailureCase {
  const char* name;
  std::uint32_t points;
  int blocked;
};
void PrintTo(const OpenFailureCase& c, std::ostream* os) {
  *os << c.name;
}

class CsvOpenFailureTest : public CsvExportTest, public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(CsvOpenFailureTest, EndsTheProgramWithTheCsvMessage) {
  run.select(testing::straightDrive(fix(25, 121, 0, 2010, 9, 9, 0, 0, 0), static_cast<int>(GetParam().points),
                                    10, 0));
  fs::create_directory(part(GetParam().blocked));  // a folder cannot be opened as a file
  try {
    writeCsvFiles(run.context());
    FAIL() << "no fatal error";
  } catch (const tracklog::FatalError& e) {
    EXPECT_STREQ(e.what(), "csv file read open error in Quorvel");
    EXPECT_EQ(e.exitCode(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, CsvOpenFailureTest,
                         ::testing::Values(OpenFailureCase{"first_file", 3, 1},
                                           OpenFailureCase{"second_file", 65535, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tellurix::report

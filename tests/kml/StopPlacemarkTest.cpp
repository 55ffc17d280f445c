#include <gtest/gtest.h>

#include "KmlCapture.h"
#include "kml/KmlWriter.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"

namespace tellurix::kml {
namespace {

using testing::fix;
using tracklog::Field;
using tracklog::TrackPoint;

class StopPlacemarkFixture {
 protected:
  StopPlacemarkFixture() { fields.set(Field::TimeZone, "(GMT) Greenwich Mean Time : London"); }

  std::string stopPlacemark(const TrackPoint& stop, const TrackPoint& begin, double km, std::uint32_t number,
                            std::uint32_t stopSeconds) {
    return testing::written(
        [&](std::FILE* out) { writeStopPlacemark(out, context, stop, begin, km, number, stopSeconds); });
  }

  tracklog::FixedFields fields;
  tracklog::ZoneState zone;
  KmlContext context{fields, zone};
};

// The leg's totals: from "Total time:" to the end of the description.
std::string totalsOf(const std::string& placemark) {
  const auto from = placemark.find("Total time:");
  const auto to = placemark.find("]]>");
  if (from == std::string::npos || to == std::string::npos) return "<no totals in>" + placemark;
  return placemark.substr(from, to - from);
}

struct TotalsCase {
  const char* name;
  const char* unit;
  const char* zone;
  TrackPoint begin;
  TrackPoint stop;
  double km;
  std::uint32_t stopSeconds;
  const char* totals;
};
void PrintTo(const TotalsCase& c, std::ostream* os) {
  *os << c.name;
}

class LegTotalsTest : public StopPlacemarkFixture, public ::testing::TestWithParam<TotalsCase> {};

TEST_P(LegTotalsTest, ShowsTheTotals) {
  const TotalsCase& c = GetParam();
  fields.set(Field::SpeedUnit, c.unit);
  if (c.zone != nullptr) fields.set(Field::TimeZone, c.zone);
  EXPECT_EQ(totalsOf(stopPlacemark(c.stop, c.begin, c.km, 1, c.stopSeconds)), c.totals);
}

TrackPoint at(int year, int month, int day, int hour, int minute, int second) {
  return fix(25, 121, 0, year, month, day, hour, minute, second);
}

INSTANTIATE_TEST_SUITE_P(
    Legs, LegTotalsTest,
    ::testing::Values(
        TotalsCase{
            "hour_and_a_half_kph", "KPH", nullptr, at(2010, 9, 9, 8, 0, 0), at(2010, 9, 9, 9, 30, 15), 45.5,
            0,
            "Total time: 0-day 1-hour 30-min 15-sec<br />Total mileage: 45.5000-km<br />Average speed: "
            "30.2493-KM/h<br />Stop time: 0-day 0-hour 0-min 0-sec"},
        TotalsCase{
            "hour_and_a_half_mph", "MPH", nullptr, at(2010, 9, 9, 8, 0, 0), at(2010, 9, 9, 9, 30, 15), 45.5,
            0,
            "Total time: 0-day 1-hour 30-min 15-sec<br />Total mileage: 28.4375-mi<br />Average speed: "
            "18.9058-MPH<br />Stop time: 0-day 0-hour 0-min 0-sec"},
        TotalsCase{"a_day_and_two_hours", "KPH", nullptr, at(2010, 9, 9, 8, 0, 0), at(2010, 9, 10, 10, 0, 0),
                   936, 0,
                   "Total time: 1-day 2-hour 0-min 0-sec<br />Total mileage: 936.0000-km<br />Average speed: "
                   "36.0000-KM/h<br />Stop time: 0-day 0-hour 0-min 0-sec"},
        TotalsCase{"same_second_has_no_average_whatever_the_mileage", "KPH", nullptr, at(2010, 9, 9, 8, 0, 0),
                   at(2010, 9, 9, 8, 0, 0), 5, 0,
                   "Total time: 0-day 0-hour 0-min 0-sec<br />Total mileage: 5.0000-km<br />Average speed: "
                   "0.0000-KM/h<br />Stop time: 0-day 0-hour 0-min 0-sec"},
        TotalsCase{"no_mileage_has_a_zero_average", "KPH", nullptr, at(2010, 9, 9, 8, 0, 0),
                   at(2010, 9, 9, 9, 0, 0), 0, 0,
                   "Total time: 0-day 1-hour 0-min 0-sec<br />Total mileage: 0.0000-km<br />Average speed: "
                   "0.0000-KM/h<br />Stop time: 0-day 0-hour 0-min 0-sec"},
        TotalsCase{"stop_of_a_day_an_hour_a_minute_a_second", "KPH", nullptr, at(2010, 9, 9, 8, 0, 0),
                   at(2010, 9, 9, 9, 0, 0), 30, 86400 + 3600 + 60 + 1,
                   "Total time: 0-day 1-hour 0-min 0-sec<br />Total mileage: 30.0000-km<br />Average speed: "
                   "30.0000-KM/h<br />Stop time: 1-day 1-hour 1-min 1-sec"},
        TotalsCase{"evening_to_after_midnight", "KPH", nullptr, at(2010, 9, 9, 22, 50, 0),
                   at(2010, 9, 10, 1, 10, 0), 35, 0,
                   "Total time: 0-day 2-hour 20-min 0-sec<br />Total mileage: 35.0000-km<br />Average speed: "
                   "15.0000-KM/h<br />Stop time: 0-day 0-hour 0-min 0-sec"},
        TotalsCase{"zone_moves_the_leg_across_local_midnight", "KPH", "(GMT+08:00) Taipei",
                   at(2010, 9, 9, 15, 50, 0), at(2010, 9, 9, 16, 10, 0), 10, 0,
                   "Total time: 0-day 0-hour 20-min 0-sec<br />Total mileage: 10.0000-km<br />Average speed: "
                   "30.0000-KM/h<br />Stop time: 0-day 0-hour 0-min 0-sec"},
        TotalsCase{"leap_day_is_counted", "KPH", nullptr, at(2012, 2, 28, 23, 0, 0), at(2012, 3, 1, 1, 0, 0),
                   0, 0,
                   "Total time: 1-day 2-hour 0-min 0-sec<br />Total mileage: 0.0000-km<br />Average speed: "
                   "0.0000-KM/h<br />Stop time: 0-day 0-hour 0-min 0-sec"},
        TotalsCase{"more_than_a_year_counts_every_day", "KPH", nullptr, at(2010, 12, 31, 12, 0, 0),
                   at(2012, 1, 1, 12, 0, 0), 0, 0,
                   "Total time: 366-day 0-hour 0-min 0-sec<br />Total mileage: 0.0000-km<br />Average speed: "
                   "0.0000-KM/h<br />Stop time: 0-day 0-hour 0-min 0-sec"}),
    [](const auto& info) { return std::string(info.param.name); });

class StopPlacemarkTest : public StopPlacemarkFixture, public ::testing::Test {};

// The placemark stands at the stop point, with its position, speed, altitude and UTC stamp;
// only Begin comes from the begin point.
const TrackPoint kBegin = fix(24.5, 120.75, 55, 2010, 9, 9, 0, 0, 0, 300);
const TrackPoint kStop = fix(25.0339, 121.5645, 0, 2010, 9, 9, 1, 30, 15, 12);

TEST_F(StopPlacemarkTest, StopPlacemarkStandsAtTheStopPoint) {
  fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
  const std::vector<std::string> lines{
      "\t<Placemark>",
      "\t<name>Stop 2</name>",
      "\t\t\t<description><![CDATA[Longitude:121.564500<br />Latitude:25.033900<br />Altitude:12(m)  "
      "Speed:0(KM/h)<br />Time:2010-09-09 09:30:15(GMT+8:00)<hr />Begin: 2010-09-09 08:00:00(GMT+8:00)<br "
      "/>End:   "
      "2010-09-09 09:30:15(GMT+8:00)<br />Total time: 0-day 1-hour 30-min 15-sec<br />Total mileage: "
      "45.5000-km<br "
      "/>Average speed: 30.2493-KM/h<br />Stop time: 0-day 0-hour 20-min 0-sec]]>",
      "  </description>",
      "\t\t\t<TimeStamp><when>2010-09-09T01:30:15Z</when></TimeStamp>\t\t\t\t<styleUrl>root://"
      "styleMaps#default+nicon="
      "0x467+hicon=0x477</styleUrl>",
      "\t\t\t<Point>",
      "\t\t\t\t<coordinates>121.564500,25.033900,12</coordinates>",
      "\t\t\t</Point>",
      "\t</Placemark>"};
  EXPECT_TRUE(testing::sameBytes(testing::crlfText(lines), stopPlacemark(kStop, kBegin, 45.5, 2, 1200)));
}

TEST_F(StopPlacemarkTest, LegStopDiffersOnlyInItsName) {
  fields.set(Field::SpeedUnit, "MPH");
  std::string stop = stopPlacemark(kStop, kBegin, 45.5, 2, 1200);
  const std::string legStop = testing::written(
      [&](std::FILE* out) { writeLegStopPlacemark(out, context, kStop, kBegin, 45.5, 1200, 2); });
  const std::string name = "\t<name>Stop 2</name>";
  ASSERT_NE(stop.find(name), std::string::npos);
  stop.replace(stop.find(name), name.size(), "\t<name>Stop2</name>");
  EXPECT_TRUE(testing::sameBytes(stop, legStop));
}

TEST_F(StopPlacemarkTest, EndPlacemarkEndsWithTheMileageAndUsesTheBeginStyle) {
  fields.set(Field::SpeedUnit, "MPH");
  const std::vector<std::string> lines{
      "\t<Placemark>",
      "\t<name>End</name>",
      "\t\t\t<description><![CDATA[Longitude:121.564500<br />Latitude:25.033900<br />Altitude:39(ft)  "
      "Speed:0(MPH)<br />Time:2010-09-09 01:30:15(GMT+0:00)<hr />Begin: 2010-09-09 00:00:00(GMT+0:00)<br "
      "/>End:   "
      "2010-09-09 01:30:15(GMT+0:00)<br />Total time: 0-day 1-hour 30-min 15-sec<br />Total mileage: "
      "28.4375-mi]]>",
      "  </description>",
      "\t\t\t<TimeStamp><when>2010-09-09T01:30:15Z</when></TimeStamp>\t\t\t\t<styleUrl>root://"
      "styleMaps#default+nicon="
      "0x447+hicon=0x457</styleUrl>",
      "\t\t\t<Point>",
      "\t\t\t\t<coordinates>121.564500,25.033900,12</coordinates>",
      "\t\t\t</Point>",
      "\t</Placemark>"};
  EXPECT_TRUE(testing::sameBytes(testing::crlfText(lines), testing::written([&](std::FILE* out) {
                                   writeEndPlacemark(out, context, kStop, kBegin, 45.5);
                                 })));
}

TEST_F(StopPlacemarkTest, OtherUnitTextLeavesOutTheDescriptionOfAllThree) {
  fields.set(Field::SpeedUnit, "");
  const std::string bytes = testing::written([&](std::FILE* out) {
    writeStopPlacemark(out, context, kStop, kBegin, 45.5, 1, 60);
    writeLegStopPlacemark(out, context, kStop, kBegin, 45.5, 60, 1);
    writeEndPlacemark(out, context, kStop, kBegin, 45.5);
  });
  EXPECT_EQ(bytes.find("description"), std::string::npos) << bytes;
  EXPECT_EQ(testing::crlfLines(bytes).size(), 3U * 7U);
}

}  // namespace
}  // namespace tellurix::kml

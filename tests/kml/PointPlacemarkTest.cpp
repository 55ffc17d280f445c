#include <gtest/gtest.h>

#include <functional>

#include "KmlCapture.h"
#include "kml/KmlWriter.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"

namespace tellurix::kml {
namespace {

using testing::fix;
using tracklog::Field;
using tracklog::TrackPoint;

using PointWriter = std::function<void(std::FILE*, const KmlContext&, const TrackPoint&)>;

struct PointCase {
  const char* name;
  const char* unit;
  const char* zone;
  PointWriter write;
  TrackPoint point;
  std::vector<std::string> lines;
};
void PrintTo(const PointCase& c, std::ostream* os) {
  *os << c.name;
}

class PointPlacemarkTest : public ::testing::TestWithParam<PointCase> {};

TEST_P(PointPlacemarkTest, WritesTheLines) {
  const PointCase& c = GetParam();
  tracklog::FixedFields fields;
  fields.set(Field::SpeedUnit, c.unit);
  fields.set(Field::TimeZone, c.zone);
  tracklog::ZoneState zone;
  const KmlContext context{fields, zone};
  EXPECT_TRUE(testing::sameBytes(testing::crlfText(c.lines),
                                 testing::written([&](std::FILE* out) { c.write(out, context, c.point); })));
}

const PointWriter begin = [](std::FILE* out, const KmlContext& c, const TrackPoint& p) {
  writeBeginPlacemark(out, c, p);
};
const PointWriter start3 = [](std::FILE* out, const KmlContext& c, const TrackPoint& p) {
  writeStartPlacemark(out, c, p, 3);
};
const PointWriter folder3 = [](std::FILE* out, const KmlContext& c, const TrackPoint& p) {
  writePointFolderStart(out, c, p, 3);
};
const PointWriter legStart3 = [](std::FILE* out, const KmlContext& c, const TrackPoint& p) {
  writeLegStartPlacemark(out, c, p, 3);
};
const PointWriter trackPoint = [](std::FILE* out, const KmlContext& c, const TrackPoint& p) {
  writeTrackPointPlacemark(out, c, p);
};
const PointWriter maxSpeed = [](std::FILE* out, const KmlContext& c, const TrackPoint& p) {
  writeMaxSpeedPlacemark(out, c, p);
};
const PointWriter label = [](std::FILE* out, const KmlContext& c, const TrackPoint& p) {
  writeLabelPointPlacemark(out, c, p);
};

const char* const kLondon = "(GMT) Greenwich Mean Time : London";
const char* const kTaipei = "(GMT+08:00) Taipei";
const std::string kBeginStyle =
    "\t\t\t\t<styleUrl>root://styleMaps#default+nicon=0x447+hicon=0x457</styleUrl>";
const std::string kStartStyle =
    "\t\t\t\t<styleUrl>root://styleMaps#default+nicon=0x406+hicon=0x416</styleUrl>";

// 100 m and 30 km/h at 07:20:05 UTC on 9 September 2010.
const TrackPoint kZurich = fix(47.25, 8.5, 30, 2010, 9, 9, 7, 20, 5, 100);

INSTANTIATE_TEST_SUITE_P(
    Writers, PointPlacemarkTest,
    ::testing::Values(
        PointCase{
            "mph_shows_feet_and_rounded_miles_but_coordinates_in_metres",
            "MPH",
            kLondon,
            begin,
            kZurich,
            {"\t<Placemark>", "\t<name>Begin</name>",
             "\t\t\t<description><![CDATA[Longitude:8.500000<br />Latitude:47.250000<br />Altitude:328(ft)  "
             "Speed:19(MPH)<br />Time:2010-09-09 07:20:05(GMT+0:00)]]>",
             "  </description>",
             "\t\t\t<TimeStamp><when>2010-09-09T07:20:05Z</when></TimeStamp>" + kBeginStyle, "\t\t\t<Point>",
             "\t\t\t\t<coordinates>8.500000,47.250000,100</coordinates>", "\t\t\t</Point>",
             "\t</Placemark>"}},
        PointCase{
            "kph_shows_metres_and_the_stored_speed",
            "KPH",
            kLondon,
            begin,
            kZurich,
            {"\t<Placemark>", "\t<name>Begin</name>",
             "\t\t\t<description><![CDATA[Longitude:8.500000<br />Latitude:47.250000<br />Altitude:100(m)  "
             "Speed:30(KM/h)<br />Time:2010-09-09 07:20:05(GMT+0:00)]]>",
             "  </description>",
             "\t\t\t<TimeStamp><when>2010-09-09T07:20:05Z</when></TimeStamp>" + kBeginStyle, "\t\t\t<Point>",
             "\t\t\t\t<coordinates>8.500000,47.250000,100</coordinates>", "\t\t\t</Point>",
             "\t</Placemark>"}},
        PointCase{
            "zone_ahead_moves_the_description_to_the_next_day_but_not_the_stamp",
            "KPH",
            kTaipei,
            start3,
            fix(25.0339, 121.5645, 0, 2010, 9, 9, 23, 30, 0, 10),
            {"\t<Placemark>", "\t<name>Start 3</name>",
             "\t\t\t<description><![CDATA[Longitude:121.564500<br />Latitude:25.033900<br />Altitude:10(m)  "
             "Speed:0(KM/h)<br />Time:2010-09-10 07:30:00(GMT+8:00)]]>",
             "  </description>",
             "\t\t\t<TimeStamp><when>2010-09-09T23:30:00Z</when></TimeStamp>" + kStartStyle, "\t\t\t<Point>",
             "\t\t\t\t<coordinates>121.564500,25.033900,10</coordinates>", "\t\t\t</Point>",
             "\t</Placemark>"}},
        PointCase{
            "zone_behind_borrows_into_the_previous_month",
            "KPH",
            "(GMT-05:00) Eastern Time (US & Canada)",
            begin,
            fix(40.75, -73.5, 12, 2010, 10, 1, 2, 0, 0),
            {"\t<Placemark>", "\t<name>Begin</name>",
             "\t\t\t<description><![CDATA[Longitude:-73.500000<br />Latitude:40.750000<br />Altitude:0(m)  "
             "Speed:12(KM/h)<br />Time:2010-09-30 21:00:00(GMT-5:00)]]>",
             "  </description>",
             "\t\t\t<TimeStamp><when>2010-10-01T02:00:00Z</when></TimeStamp>" + kBeginStyle, "\t\t\t<Point>",
             "\t\t\t\t<coordinates>-73.500000,40.750000,0</coordinates>", "\t\t\t</Point>",
             "\t</Placemark>"}},
        PointCase{
            "no_zone_selected_keeps_utc_and_an_empty_label",
            "KPH",
            "",
            begin,
            kZurich,
            {"\t<Placemark>", "\t<name>Begin</name>",
             "\t\t\t<description><![CDATA[Longitude:8.500000<br />Latitude:47.250000<br />Altitude:100(m)  "
             "Speed:30(KM/h)<br />Time:2010-09-09 07:20:05]]>",
             "  </description>",
             "\t\t\t<TimeStamp><when>2010-09-09T07:20:05Z</when></TimeStamp>" + kBeginStyle, "\t\t\t<Point>",
             "\t\t\t\t<coordinates>8.500000,47.250000,100</coordinates>", "\t\t\t</Point>",
             "\t</Placemark>"}},
        PointCase{
            "short_year_space_padded_in_the_stamp_zero_padded_in_the_text",
            "KPH",
            kLondon,
            begin,
            fix(1, 2, 3, 999, 1, 2, 3, 4, 5, 6),
            {"\t<Placemark>", "\t<name>Begin</name>",
             "\t\t\t<description><![CDATA[Longitude:2.000000<br />Latitude:1.000000<br />Altitude:6(m)  "
             "Speed:3(KM/h)<br />Time:0999-01-02 03:04:05(GMT+0:00)]]>",
             "  </description>",
             "\t\t\t<TimeStamp><when> 999-01-02T03:04:05Z</when></TimeStamp>" + kBeginStyle, "\t\t\t<Point>",
             "\t\t\t\t<coordinates>2.000000,1.000000,6</coordinates>", "\t\t\t</Point>", "\t</Placemark>"}},
        PointCase{
            "folder_start_opens_point_3_around_start_3",
            "KPH",
            kLondon,
            folder3,
            kZurich,
            {"<Folder>", "<name>Point 3</name>", "<open>1</open>", "\t<Placemark>", "\t<name>Start 3</name>",
             "\t\t\t<description><![CDATA[Longitude:8.500000<br />Latitude:47.250000<br />Altitude:100(m)  "
             "Speed:30(KM/h)<br />Time:2010-09-09 07:20:05(GMT+0:00)]]>",
             "  </description>",
             "\t\t\t<TimeStamp><when>2010-09-09T07:20:05Z</when></TimeStamp>" + kStartStyle, "\t\t\t<Point>",
             "\t\t\t\t<coordinates>8.500000,47.250000,100</coordinates>", "\t\t\t</Point>",
             "\t</Placemark>"}},
        PointCase{
            "leg_start_is_start3_after_four_spaces",
            "KPH",
            kLondon,
            legStart3,
            kZurich,
            {"\t<Placemark>", "    <name>Start3</name>",
             "\t\t\t<description><![CDATA[Longitude:8.500000<br />Latitude:47.250000<br />Altitude:100(m)  "
             "Speed:30(KM/h)<br />Time:2010-09-09 07:20:05(GMT+0:00)]]>",
             "  </description>",
             "\t\t\t<TimeStamp><when>2010-09-09T07:20:05Z</when></TimeStamp>" + kStartStyle, "\t\t\t<Point>",
             "\t\t\t\t<coordinates>8.500000,47.250000,100</coordinates>", "\t\t\t</Point>",
             "\t</Placemark>"}},
        PointCase{"track_point_west_of_greenwich_on_the_equator_with_a_miles_tie",
                  "MPH",
                  kLondon,
                  trackPoint,
                  fix(0, -122.5, 20, 2010, 9, 9, 7, 20, 5, 50),
                  {"\t<Placemark>",
                   // 50 m is 164 ft; 20 km/h is 12.5 MPH, a tie that printf rounds to even.
                   "\t\t\t<description><![CDATA[Longitude:-122.500000<br />Latitude:0.000000<br "
                   "/>Altitude:164(ft)  "
                   "Speed:12(MPH)<br />Time:2010-09-09 07:20:05(GMT+0:00)]]>",
                   "  </description>", "\t\t\t<TimeStamp><when>2010-09-09T07:20:05Z</when></TimeStamp>",
                   "\t\t<Style>", "\t\t <IconStyle>",
                   "   \t <Icon><href>https://maps.google.com/mapfiles/kml/pal4/icon49.png</href></Icon>",
                   "\t \t </IconStyle>", "\t\t</Style>", "\t\t\t<Point>",
                   "\t\t\t\t<coordinates>-122.500000,0.000000,50</coordinates>", "\t\t\t</Point>",
                   "\t</Placemark>"}},
        PointCase{
            "max_speed_refers_to_linestyle_with_the_hospitals_icon",
            "KPH",
            kLondon,
            maxSpeed,
            kZurich,
            {"\t<Placemark>", "\t<name>MaxSpeed</name>", "    <styleUrl>#linestyle</styleUrl>",
             "\t\t\t<description><![CDATA[Longitude:8.500000<br />Latitude:47.250000<br />Altitude:100(m)  "
             "Speed:30(KM/h)<br />Time:2010-09-09 07:20:05(GMT+0:00)]]>",
             "  </description>", "\t\t\t<TimeStamp><when>2010-09-09T07:20:05Z</when></TimeStamp>",
             "\t\t<Style>", "\t\t <IconStyle>",
             "   \t <Icon><href>https://maps.google.com/mapfiles/kml/shapes/hospitals.png</href></Icon>",
             "\t \t </IconStyle>", "\t\t</Style>", "\t\t\t<Point>",
             "\t\t\t\t<coordinates>8.500000,47.250000,100</coordinates>", "\t\t\t</Point>",
             "\t</Placemark>"}},
        PointCase{
            "label_point_refers_to_labelstyle_without_hash_twice",
            "KPH",
            kLondon,
            label,
            kZurich,
            {"\t<Placemark>", "\t<styleUrl>LabelStyle</styleUrl>",
             "\t\t\t<description><![CDATA[Longitude:8.500000<br />Latitude:47.250000<br />Altitude:100(m)  "
             "Speed:30(KM/h)<br />Time:2010-09-09 07:20:05(GMT+0:00)]]>",
             "  </description>",
             "\t\t\t<TimeStamp><when>2010-09-09T07:20:05Z</when></TimeStamp>\t\t\t\t<styleUrl>LabelStyle</"
             "styleUrl>",
             "\t\t\t<Point>", "\t\t\t\t<coordinates>8.500000,47.250000,100</coordinates>", "\t\t\t</Point>",
             "\t</Placemark>"}},
        PointCase{"other_unit_text_leaves_out_the_whole_description",
                  "kph",
                  kLondon,
                  label,
                  kZurich,
                  {"\t<Placemark>", "\t<styleUrl>LabelStyle</styleUrl>",
                   "\t\t\t<TimeStamp><when>2010-09-09T07:20:05Z</when></"
                   "TimeStamp>\t\t\t\t<styleUrl>LabelStyle</styleUrl>",
                   "\t\t\t<Point>", "\t\t\t\t<coordinates>8.500000,47.250000,100</coordinates>",
                   "\t\t\t</Point>", "\t</Placemark>"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The user may change the unit or the zone while a document is being written: every
// placemark shows what the window holds at its own call.
TEST(PointPlacemarkTest, ReadsTheUnitAndTheZoneAtEveryCall) {
  tracklog::FixedFields fields;
  tracklog::ZoneState zone;
  const KmlContext context{fields, zone};
  fields.set(Field::TimeZone, kLondon);
  const std::string first =
      testing::written([&](std::FILE* out) { writeBeginPlacemark(out, context, kZurich); });
  fields.set(Field::SpeedUnit, "MPH");
  fields.set(Field::TimeZone, kTaipei);
  const std::string second =
      testing::written([&](std::FILE* out) { writeBeginPlacemark(out, context, kZurich); });

  EXPECT_NE(first.find("Speed:30(KM/h)<br />Time:2010-09-09 07:20:05(GMT+0:00)]]>"), std::string::npos)
      << first;
  EXPECT_NE(second.find("Speed:19(MPH)<br />Time:2010-09-09 15:20:05(GMT+8:00)]]>"), std::string::npos)
      << second;
  EXPECT_EQ(zone.label, "(GMT+8:00)");
}

}  // namespace
}  // namespace tellurix::kml

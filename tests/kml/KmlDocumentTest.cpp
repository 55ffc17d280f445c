#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "KmlCapture.h"
#include "kml/KmlWriter.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"
#include "tracklog/TextFile.h"

namespace tellurix::kml {
namespace {

using testing::fix;
using tracklog::Field;

TEST(KmlDocumentTest, TripHeadDefinesTheLineStyle) {
  const std::vector<std::string> lines{
      R"(<?xml version="1.0" encoding="UTF-8"?>)",
      R"(<kml xmlns="http://earth.google.com/kml/2.1">)",
      "<Folder>",
      "\t    <name>trip-2010-09-09.kml</name>",
      "\t    <open>1</open>",
      "\t    <Style id=\"linestyle\">",
      "                <LineStyle>",
      "                  <color>ffffffff</color>",
      "                  <colorMode>random</colorMode>",
      "                  <width>4</width>",
      "                </LineStyle>",
      "                <IconStyle>",
      "                  <Icon>",
      "                  <href>https://maps.google.com/mapfiles/kml/shapes/hospitals.png</href>",
      "                  </Icon>",
      "                </IconStyle>",
      "        </Style>"};
  EXPECT_TRUE(testing::sameBytes(testing::crlfText(lines), testing::written([](std::FILE* out) {
                                   writeTripDocumentHead(out, "trip-2010-09-09.kml");
                                 })));
}

TEST(KmlDocumentTest, LabelHeadDefinesTheLabelStyleUnindented) {
  const std::vector<std::string> lines{R"(<?xml version="1.0" encoding="UTF-8"?>)",
                                       R"(<kml xmlns="http://earth.google.com/kml/2.1">)",
                                       "<Folder>",
                                       "<name>trip-2010-09-09_point.kml</name>",
                                       "<open>1</open>",
                                       "<Style id='LabelStyle'>",
                                       "<LabelStyle>",
                                       "<scale>.7</scale>",
                                       "</LabelStyle>",
                                       "<IconStyle>",
                                       "<scale>.3</scale><color>7f31ff1e</color>",
                                       "</IconStyle>",
                                       "</Style>"};
  EXPECT_TRUE(testing::sameBytes(testing::crlfText(lines), testing::written([](std::FILE* out) {
                                   writeLabelDocumentHead(out, "trip-2010-09-09_point.kml");
                                 })));
}

TEST(KmlDocumentTest, TailClosesFolderAndRoot) {
  EXPECT_EQ(testing::written([](std::FILE* out) { writeDocumentTail(out); }), "</Folder>\r\n</kml>\r\n");
}

struct NameCase {
  const char* name;
  const char* documentName;
  const char* shown;
};
void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.name;
}

class DocumentNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(DocumentNameTest, BothHeadsShowTheNameSafely) {
  const NameCase& c = GetParam();
  const auto trip = testing::crlfLines(
      testing::written([&](std::FILE* out) { writeTripDocumentHead(out, c.documentName); }));
  const auto label = testing::crlfLines(
      testing::written([&](std::FILE* out) { writeLabelDocumentHead(out, c.documentName); }));
  ASSERT_EQ(trip.size(), 17U);
  ASSERT_EQ(label.size(), 13U);
  EXPECT_EQ(trip[3], std::string("\t    <name>") + c.shown + "</name>");
  EXPECT_EQ(label[3], std::string("<name>") + c.shown + "</name>");
}

INSTANTIATE_TEST_SUITE_P(
    Names, DocumentNameTest,
    ::testing::Values(NameCase{"ordinary_name_unchanged", "stop1-ABC123-2010-09-09_05-40.kml",
                               "stop1-ABC123-2010-09-09_05-40.kml"},
                      NameCase{"markup_characters_escaped", "trip-A&B<1>-2010-09-09.kml",
                               "trip-A&amp;B&lt;1&gt;-2010-09-09.kml"},
                      NameCase{"an_entity_is_escaped_again", "trip-&amp;.kml", "trip-&amp;amp;.kml"},
                      NameCase{"quotes_and_other_bytes_unchanged", "trip-O'Neil \"Zürich\"%s.kml",
                               "trip-O'Neil \"Zürich\"%s.kml"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every document the writers can make must open in a viewer, whatever the unit text and the
// name. Checked by a real XML parser.
struct DocumentCase {
  const char* name;
  const char* unit;
  std::function<void(std::FILE*, const KmlContext&)> write;
};
void PrintTo(const DocumentCase& c, std::ostream* os) {
  *os << c.name;
}

class WellFormedDocumentTest : public ::testing::TestWithParam<DocumentCase> {};

const tracklog::TrackPoint kFirst = fix(25.0339, 121.5645, 0, 2010, 9, 9, 0, 30, 0, 12);
const tracklog::TrackPoint kLast = fix(25.1, 121.6, 130, 2010, 9, 9, 1, 30, 0, 40);

void tripDocument(std::FILE* out, const KmlContext& c) {
  writeTripDocumentHead(out, "trip-A&B<1>-2010-09-09.kml");
  writePathHead(out, 1);
  writePathCoordinate(out, kFirst);
  writePathCoordinate(out, kLast);
  writePathTail(out, kFirst, kLast);
  writePathHead(out, 2);  // a path without coordinates
  writePathTail(out, kLast, kLast);
  writeBeginPlacemark(out, c, kFirst);
  writeStartPlacemark(out, c, kFirst, 1);
  writeLegStartPlacemark(out, c, kFirst, 1);
  writeTrackPointPlacemark(out, c, kLast);
  writeMaxSpeedPlacemark(out, c, kLast);
  writeStopPlacemark(out, c, kLast, kFirst, 12.5, 1, 600);
  writeLegStopPlacemark(out, c, kLast, kFirst, 12.5, 600, 1);
  writeEndPlacemark(out, c, kLast, kFirst, 12.5);
  writeDocumentTail(out);
}

void pointDocument(std::FILE* out, const KmlContext& c) {
  writeLabelDocumentHead(out, "trip-A&B<1>-2010-09-09_point.kml");
  writeBeginPlacemark(out, c, kFirst);
  writePointFolderStart(out, c, kFirst, 1);
  writeLabelPointPlacemark(out, c, kFirst);
  writeMaxSpeedPlacemark(out, c, kLast);
  writeStopPlacemark(out, c, kLast, kFirst, 12.5, 1, 0);
  tracklog::writeText(out, "</Folder>");
  writeEndPlacemark(out, c, kLast, kFirst, 12.5);
  writeDocumentTail(out);
}

TEST_P(WellFormedDocumentTest, XmlParserAcceptsIt) {
  const DocumentCase& c = GetParam();
  tracklog::FixedFields fields;
  fields.set(Field::SpeedUnit, c.unit);
  fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
  tracklog::ZoneState zone;
  const KmlContext context{fields, zone};
  testing::TempDir dir;
  testing::writeFile(dir.path() / "doc.kml",
                     testing::written([&](std::FILE* out) { c.write(out, context); }));
  const auto result = testing::runCommand("xmllint --noout " + testing::shellQuoted(dir.file("doc.kml")));
  EXPECT_EQ(result.status, 0) << result.err;
}

INSTANTIATE_TEST_SUITE_P(Documents, WellFormedDocumentTest,
                         ::testing::Values(DocumentCase{"trip_kph", "KPH", tripDocument},
                                           DocumentCase{"trip_mph", "MPH", tripDocument},
                                           DocumentCase{"trip_other_unit", "Km/h", tripDocument},
                                           DocumentCase{"points_kph", "KPH", pointDocument},
                                           DocumentCase{"points_other_unit", "", pointDocument}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tellurix::kml

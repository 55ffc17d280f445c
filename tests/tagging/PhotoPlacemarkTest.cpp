#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kml/KmlCapture.h"
#include "kml/PhotoPlacemark.h"
#include "support/TestFiles.h"

namespace tellurix::kml {
namespace {

TEST(PhotoPlacemark, WritesTheFourteenLines) {
  const std::string bytes = testing::written([](std::FILE* out) {
    writePhotoPlacemark(out, "IMG_0001.JPG", "25.033012", "121.565432", "20100909140503");
  });
  EXPECT_EQ(bytes, testing::crlfText(
                       {"<Placemark>", "<name>IMG_0001.JPG</name>", R"(<Snippet maxLines="2">)",
                        "Created on: 2010/09/09 14:05:03</Snippet>", "<description>", "<![CDATA[",
                        R"(<img src="./photo/IMG_0001.JPG" border=0 width=400>)", "]]>", "</description>",
                        "<Point>", "<altitudeMode>relativeToGround</altitudeMode>",
                        "<coordinates>121.565432,25.033012</coordinates>", "</Point>", "</Placemark>"}));
}

struct NameCase {
  const char* name;
  std::string photo;
  std::string nameLine;
  std::string imageLine;
};
void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.name;
}

class PhotoNameTest : public ::testing::TestWithParam<NameCase> {};

// Whatever a file is called, the document stays well formed UTF-8 and the image reference
// finds the copy.
TEST_P(PhotoNameTest, KeepsTheDocumentWellFormed) {
  const auto lines = testing::crlfLines(testing::written([](std::FILE* out) {
    writePhotoPlacemark(out, GetParam().photo, "1.000000", "2.000000", "20100909140503");
  }));
  ASSERT_EQ(lines.size(), 14U);
  EXPECT_EQ(lines[1], GetParam().nameLine);
  EXPECT_EQ(lines[6], R"(<img src=")" + GetParam().imageLine + R"(" border=0 width=400>)");
}

INSTANTIATE_TEST_SUITE_P(
    Names, PhotoNameTest,
    ::testing::Values(
        NameCase{"ordinary", "DSC 0042 (2).jpg", "<name>DSC 0042 (2).jpg</name>", "./photo/DSC 0042 (2).jpg"},
        NameCase{"markup", "Tom & Jerry <1>.jpg", "<name>Tom &amp; Jerry &lt;1&gt;.jpg</name>",
                 "./photo/Tom %26 Jerry %3C1%3E.jpg"},
        NameCase{"cdata_end", "a]]>b.jpg", "<name>a]]&gt;b.jpg</name>", "./photo/a]]%3Eb.jpg"},
        NameCase{"url_syntax", "50% #1?.jpg", "<name>50% #1?.jpg</name>", "./photo/50%25 %231%3F.jpg"},
        NameCase{"quote_and_backslash", "say \"hi\"\\.jpg", "<name>say \"hi\"\\.jpg</name>",
                 "./photo/say %22hi%22%5C.jpg"},
        NameCase{"utf8", "Z\xC3\xBCrich.jpg", "<name>Z\xC3\xBCrich.jpg</name>", "./photo/Z\xC3\xBCrich.jpg"},
        // Not UTF-8: shown as Latin-1, referred to by its bytes.
        NameCase{"latin1", "\xE9t\xE9.jpg", "<name>\xC3\xA9t\xC3\xA9.jpg</name>", "./photo/%E9t%E9.jpg"},
        NameCase{"broken_utf8", "a\xC3.jpg\xE2\x82", "<name>a\xC3\x83.jpg\xC3\xA2\xC2\x82</name>",
                 "./photo/a%C3.jpg%E2%82"},
        NameCase{"control_byte", "a\tb.jpg", "<name>a\tb.jpg</name>", "./photo/a%09b.jpg"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PhotoPlacemark, AShortKeyGivesShortParts) {
  const auto lines = testing::crlfLines(
      testing::written([](std::FILE* out) { writePhotoPlacemark(out, "a.jpg", "1", "2", "20100909"); }));
  EXPECT_EQ(lines.at(3), "Created on: 2010/09/09 ::</Snippet>");
}

}  // namespace
}  // namespace tellurix::kml

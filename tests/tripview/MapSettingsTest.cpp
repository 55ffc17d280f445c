#include <gtest/gtest.h>

#include "platform/ProfileFile.h"
#include "support/TestFiles.h"
#include "tripview/MapSettings.h"

namespace tellurix::tripview {
namespace {

TEST(MapSettings, TileUrlAndAttributionFromTheMapSection) {
  struct Case {
    const char* name;
    const char* file;
    const char* url;
    const char* attribution;
  };
  const Case cases[] = {
      {"no file", nullptr, kDefaultTileUrl, kDefaultAttribution},
      {"no section", "[Setting]\r\nTileUrl=http://elsewhere/{z}/{x}/{y}.png\r\n", kDefaultTileUrl,
       kDefaultAttribution},
      {"an empty url means no tiles", "[Map]\r\nTileUrl=\r\n", "", kDefaultAttribution},
      {"both given",
       "[map]\r\n TileUrl = http://127.0.0.1:8000/{z}/{x}/{y}.png \r\nTileAttribution=\xc2\xa9 Local "
       "tiles\r\n",
       "http://127.0.0.1:8000/{z}/{x}/{y}.png", "\u00a9 Local tiles"},
      {"an empty attribution keeps the default", "[Map]\nTileAttribution=\n", kDefaultTileUrl,
       kDefaultAttribution},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    if (c.file != nullptr) testing::writeFile(dir.file("Tellurix.ini"), c.file);
    platform::ProfileFile store(dir.file("Tellurix.ini"));
    const MapSettings settings = readMapSettings(store);
    EXPECT_EQ(settings.tileUrl, c.url) << c.name;
    EXPECT_EQ(settings.attribution, c.attribution) << c.name;
  }
}

TEST(MapSettings, AWindowSizeOutOfReasonIsNoSize) {
  testing::TempDir dir;
  const std::string path = dir.file("Tellurix.ini");
  platform::ProfileFile store(path);
  EXPECT_FALSE(readTripViewSize(store));
  writeTripViewSize(store, {1024, 700});
  ASSERT_TRUE(readTripViewSize(store));
  EXPECT_EQ(readTripViewSize(store)->width, 1024);
  for (const char* height : {"10", "abc", "99999", ""}) {
    testing::writeFile(path, std::string("[Map]\r\nWindowWidth=800\r\nWindowHeight=") + height + "\r\n");
    EXPECT_FALSE(readTripViewSize(store)) << height;
  }
}

}  // namespace
}  // namespace tellurix::tripview

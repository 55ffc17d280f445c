#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "map/TileGrid.h"

namespace tellurix::map {
namespace {

std::set<TileId> distinct(const std::vector<TileId>& tiles) {
  return {tiles.begin(), tiles.end()};
}

struct TileCase {
  const char* name;
  MapView view;
  std::set<TileId> tiles;
};

TEST(TileGrid, RequestsExactlyTheTilesThatMeetTheImage) {
  const TileCase cases[] = {
      {"aligned on tile edges: no neighbour that only touches",
       MapView(512, 256, 2, 512, 384),
       {{2, 1, 1}, {2, 2, 1}}},
      {"half a pixel off the edge takes the neighbour",
       MapView(512, 256, 2, 512.5, 384),
       {{2, 1, 1}, {2, 2, 1}, {2, 3, 1}}},
      {"west of the antimeridian wraps to the last column",
       MapView(256, 256, 3, 0, 640),
       {{3, 7, 2}, {3, 0, 2}}},
      {"east of it wraps to the first", MapView(256, 256, 3, 2048, 640), {{3, 7, 2}, {3, 0, 2}}},
      {"no rows beyond the poles", MapView(256, 512, 1, 128, 0), {{1, 0, 0}}},
      {"a wide image at zoom 0 asks for the one world tile once",
       MapView(1200, 800, 0, 128, 128),
       {{0, 0, 0}}},
  };
  for (const TileCase& c : cases) {
    EXPECT_EQ(distinct(tilesToLoad(c.view)), c.tiles) << c.name;
    EXPECT_EQ(tilesToLoad(c.view).size(), c.tiles.size()) << c.name << ": a tile asked for twice";
  }
}

TEST(TileGrid, PlacesTilesWhereTheirWorldPixelsAreDrawn) {
  const MapView view(300, 200, 5, 1000.25, 3000.5);
  for (const TilePlacement& p : visibleTiles(view)) {
    // The tile's corner in world pixels, taken to the column that lies on the image.
    const double columns = 1 << view.zoom();
    const double worldX = p.left + view.centreX() - view.width() / 2.0;
    EXPECT_DOUBLE_EQ(std::fmod(worldX / kTileSize + columns, columns), p.id.x);
    EXPECT_DOUBLE_EQ(p.top, p.id.y * kTileSize - view.centreY() + view.height() / 2.0);
  }
}

TEST(TileGrid, TheCentreTileComesFirst) {
  const MapView view(1024, 768, 10, 130978, 87169);
  EXPECT_EQ(tilesToLoad(view).front(), (TileId{10, 511, 340}));
}

TEST(TileUrl, ReplacesEveryPlaceholderAndLeavesTheRest) {
  const TileId tile{12, 3768, 2457};
  EXPECT_EQ(tileUrl("https://tile.example.org/{z}/{x}/{y}.png", tile),
            "https://tile.example.org/12/3768/2457.png");
  EXPECT_EQ(tileUrl("http://127.0.0.1:8080/t?x={x}&y={y}&z={z}&again={z}", tile),
            "http://127.0.0.1:8080/t?x=3768&y=2457&z=12&again=12");
  EXPECT_EQ(tileUrl("{q}/{z", tile), "{q}/{z");
}

}  // namespace
}  // namespace tellurix::map

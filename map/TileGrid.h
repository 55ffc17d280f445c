#pragma once

#include <compare>
#include <string>
#include <string_view>
#include <vector>

#include "MapView.h"

namespace tellurix::map {

// One 256-pixel tile of a zoom level; x and y in [0, 2^zoom).
struct TileId {
  int zoom = 0;
  int x = 0;
  int y = 0;

  friend auto operator<=>(const TileId&, const TileId&) = default;
};

// Where a tile goes on the image: its top left corner. The world repeats east and west, so
// one tile may be placed more than once on a wide image at a low zoom.
struct TilePlacement {
  TileId id;
  double left = 0;
  double top = 0;
};

// Every tile place that intersects the image.
std::vector<TilePlacement> visibleTiles(const MapView& view);

// The distinct tiles of visibleTiles, those nearest the image centre first.
std::vector<TileId> tilesToLoad(const MapView& view);

// The template with {z}, {x} and {y} replaced by the tile's numbers.
std::string tileUrl(std::string_view urlTemplate, const TileId& tile);

}  // namespace tellurix::map

#include "TileGrid.h"

#include <algorithm>
#include <cmath>

namespace tellurix::map {
namespace {

// The tile columns or rows [first, last] that meet the pixel range [from, from + length).
struct TileSpan {
  int first;
  int last;
};
TileSpan tileSpan(double from, int length) {
  const double to = from + length;
  return {static_cast<int>(std::floor(from / kTileSize)), static_cast<int>(std::ceil(to / kTileSize)) - 1};
}

int wrapped(int column, int count) {
  const int x = column % count;
  return x < 0 ? x + count : x;
}

}  // namespace

std::vector<TilePlacement> visibleTiles(const MapView& view) {
  std::vector<TilePlacement> tiles;
  if (view.width() <= 0 || view.height() <= 0) return tiles;
  const int count = 1 << view.zoom();
  const double left = view.centreX() - view.width() / 2.0;
  const double top = view.centreY() - view.height() / 2.0;
  const TileSpan columns = tileSpan(left, view.width());
  TileSpan rows = tileSpan(top, view.height());
  rows.first = std::max(rows.first, 0);
  rows.last = std::min(rows.last, count - 1);
  for (int row = rows.first; row <= rows.last; ++row) {
    for (int column = columns.first; column <= columns.last; ++column) {
      tiles.push_back(
          {{view.zoom(), wrapped(column, count), row}, column * kTileSize - left, row * kTileSize - top});
    }
  }
  return tiles;
}

std::vector<TileId> tilesToLoad(const MapView& view) {
  std::vector<TilePlacement> places = visibleTiles(view);
  const auto distance = [&](const TilePlacement& p) {
    const double dx = p.left + kTileSize / 2 - view.width() / 2.0;
    const double dy = p.top + kTileSize / 2 - view.height() / 2.0;
    return dx * dx + dy * dy;
  };
  std::stable_sort(places.begin(), places.end(),
                   [&](const TilePlacement& a, const TilePlacement& b) { return distance(a) < distance(b); });
  std::vector<TileId> tiles;
  for (const TilePlacement& p : places) {
    if (std::find(tiles.begin(), tiles.end(), p.id) == tiles.end()) tiles.push_back(p.id);
  }
  return tiles;
}

std::string tileUrl(std::string_view urlTemplate, const TileId& tile) {
  std::string url;
  url.reserve(urlTemplate.size() + 16);
  for (std::size_t i = 0; i < urlTemplate.size(); ++i) {
    const std::string_view rest = urlTemplate.substr(i);
    if (rest.starts_with("{z}")) {
      url += std::to_string(tile.zoom);
    } else if (rest.starts_with("{x}")) {
      url += std::to_string(tile.x);
    } else if (rest.starts_with("{y}")) {
      url += std::to_string(tile.y);
    } else {
      url += urlTemplate[i];
      continue;
    }
    i += 2;
  }
  return url;
}

}  // namespace tellurix::map

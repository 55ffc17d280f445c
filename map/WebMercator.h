#pragma once

namespace tellurix::map {

inline constexpr double kTileSize = 256;
// Where the square world of the tiles ends; latitudes beyond are drawn on its edge.
inline constexpr double kMaxLatitude = 85.05112878;

// A position in world pixels at zoom 0, where the whole world is one 256-pixel tile; at zoom z
// every coordinate is 2^z times as large. x may lie outside [0, 256) for a track that crosses
// the antimeridian, which is kept continuous.
struct WorldPoint {
  double x = 0;
  double y = 0;
};

struct WorldBox {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;

  [[nodiscard]] double width() const { return right - left; }
  [[nodiscard]] double height() const { return bottom - top; }
  [[nodiscard]] bool intersects(const WorldBox& o) const {
    return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
  }
  void include(const WorldPoint& p);
  static WorldBox around(const WorldPoint& p) { return {p.x, p.y, p.x, p.y}; }
};

// Web Mercator, latitude clamped to ±kMaxLatitude.
WorldPoint project(double latitude, double longitude);

// The inverse of project at zoom 0.
double longitudeAt(double worldX);
double latitudeAt(double worldY);

}  // namespace tellurix::map

#include "WebMercator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tellurix::map {

void WorldBox::include(const WorldPoint& p) {
  left = std::min(left, p.x);
  right = std::max(right, p.x);
  top = std::min(top, p.y);
  bottom = std::max(bottom, p.y);
}

WorldPoint project(double latitude, double longitude) {
  const double phi = std::clamp(latitude, -kMaxLatitude, kMaxLatitude) * std::numbers::pi / 180;
  const double x = (longitude + 180) / 360 * kTileSize;
  const double y = (1 - std::log(std::tan(phi) + 1 / std::cos(phi)) / std::numbers::pi) / 2 * kTileSize;
  return {x, y};
}

double longitudeAt(double worldX) {
  return worldX / kTileSize * 360 - 180;
}

double latitudeAt(double worldY) {
  const double n = std::numbers::pi * (1 - 2 * worldY / kTileSize);
  return std::atan(std::sinh(n)) * 180 / std::numbers::pi;
}

}  // namespace tellurix::map

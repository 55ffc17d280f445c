#pragma once

#include <string>
#include <vector>

#include "MapView.h"

namespace tellurix::map {

// A line of the latitude/longitude grid the map shows where it has no tiles.
struct GridLine {
  bool meridian = false;  // a line of equal longitude (vertical), else of equal latitude
  double position = 0;    // x (meridian) or y on the image
  std::string label;      // "121.5°E", "25°N" (UTF-8)
};

// Lines at a round step of degrees, at least ~100 pixels apart.
std::vector<GridLine> gridLines(const MapView& view);

}  // namespace tellurix::map

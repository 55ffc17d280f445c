#pragma once

#include <string>

#include "MapView.h"
#include "tracklog/FieldSource.h"

namespace tellurix::map {

struct ScaleBar {
  double pixels = 0;  // the bar's length on the image
  std::string label;  // "500 m", "2 km", "500 ft", "0.2 mi"
};

// The longest round length (1, 2 or 5 times a power of ten) that fits in `maxPixels` at the
// image centre, in km (m) or, for MPH, in miles (ft), measured as the report measures distances.
ScaleBar scaleBar(const MapView& view, tracklog::SpeedUnit unit, double maxPixels);

}  // namespace tellurix::map

#include "ScaleBar.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "MarkerTexts.h"
#include "tracklog/Geodesy.h"

namespace tellurix::map {
namespace {

constexpr double kFeetPerMetre = 3.28;
constexpr double kMetresPerMile = 1000 / 0.625;

struct Length {
  double metres;
  std::string label;
};

std::string number(double value, const char* unit) {
  char text[32];
  std::snprintf(text, sizeof text, "%g %s", value, unit);
  return text;
}

// 1, 2 and 5 times 10^first .. 10^last of a unit, from the smallest up.
void addRoundLengths(std::vector<Length>& lengths, int first, int last, double metresPerUnit,
                     const char* unit) {
  for (int exponent = first; exponent <= last; ++exponent) {
    for (const double step : {1.0, 2.0, 5.0}) {
      const double value = step * std::pow(10.0, exponent);
      lengths.push_back({value * metresPerUnit, number(value, unit)});
    }
  }
}

std::vector<Length> roundLengths(tracklog::SpeedUnit unit) {
  std::vector<Length> lengths;
  if (unit == tracklog::SpeedUnit::Mph) {
    addRoundLengths(lengths, 0, 2, 1 / kFeetPerMetre, "ft");
    addRoundLengths(lengths, -1, 4, kMetresPerMile, "mi");
  } else {
    addRoundLengths(lengths, 0, 2, 1, "m");
    addRoundLengths(lengths, 0, 4, 1000, "km");
  }
  return lengths;
}

}  // namespace

ScaleBar scaleBar(const MapView& view, tracklog::SpeedUnit unit, double maxPixels) {
  const WorldPoint centre = view.toWorld({view.width() / 2.0, view.height() / 2.0});
  const double latitude = latitudeAt(centre.y);
  const double longitude = longitudeAt(centre.x);
  const double degreesPerPixel = 360 / (kTileSize * view.scale());
  constexpr double kSpan = 100;
  const double metresPerPixel =
      tracklog::distanceMetres(latitude, longitude, latitude, longitude + kSpan * degreesPerPixel) / kSpan;
  ScaleBar bar;
  if (!(metresPerPixel > 0)) return bar;
  for (const Length& length : roundLengths(shownUnit(unit))) {
    const double pixels = length.metres / metresPerPixel;
    if (pixels > maxPixels) break;
    bar = {pixels, length.label};
  }
  return bar;
}

}  // namespace tellurix::map

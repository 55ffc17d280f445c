#include "LatLonGrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace tellurix::map {
namespace {

constexpr double kMinSpacing = 100;
constexpr std::array<double, 19> kSteps{0.0001, 0.0002, 0.0005, 0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1,
                                        0.2,    0.5,    1,      2,     5,     10,    20,   30,   45};

struct Step {
  double degrees;
  int decimals;
};

Step gridStep(const MapView& view) {
  const double pixelsPerDegree = kTileSize * view.scale() / 360;
  for (std::size_t i = 0; i < kSteps.size(); ++i) {
    if (kSteps[i] * pixelsPerDegree >= kMinSpacing) {
      return {kSteps[i], std::max(0, static_cast<int>(std::ceil(-std::log10(kSteps[i]) - 1e-9)))};
    }
  }
  return {kSteps.back(), 0};
}

std::string degreesText(double value, int decimals, const char* positive, const char* negative) {
  char text[40];
  const double shown = std::fabs(value) < 1e-9 ? 0 : value;
  std::snprintf(text, sizeof text, "%.*f\u00b0%s", decimals, std::fabs(shown),
                shown < 0 ? negative : positive);
  return text;
}

// A longitude in (-180, 180].
double normalised(double longitude) {
  double l = std::remainder(longitude, 360.0);
  if (l <= -180) l += 360;
  return l;
}

}  // namespace

std::vector<GridLine> gridLines(const MapView& view) {
  std::vector<GridLine> lines;
  const Step step = gridStep(view);
  const WorldBox box = view.visibleBox();

  const double west = longitudeAt(box.left);
  const double east = longitudeAt(box.right);
  for (auto k = static_cast<long long>(std::ceil(west / step.degrees)); k * step.degrees <= east; ++k) {
    const double longitude = static_cast<double>(k) * step.degrees;
    const double x = view.toScreen(project(0, longitude)).x;
    lines.push_back({true, x, degreesText(normalised(longitude), step.decimals, "E", "W")});
  }

  const double north = std::min(latitudeAt(std::max(box.top, 0.0)), kMaxLatitude);
  const double south = std::max(latitudeAt(std::min(box.bottom, kTileSize)), -kMaxLatitude);
  for (auto k = static_cast<long long>(std::ceil(south / step.degrees)); k * step.degrees <= north; ++k) {
    const double latitude = static_cast<double>(k) * step.degrees;
    const double y = view.toScreen(project(latitude, 0)).y;
    lines.push_back({false, y, degreesText(latitude, step.decimals, "N", "S")});
  }
  return lines;
}

}  // namespace tellurix::map

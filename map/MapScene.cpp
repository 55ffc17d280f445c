#include "MapScene.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "MarkerTexts.h"

namespace tellurix::map {

MapScene::MapScene(std::shared_ptr<const TripData> trip) : trip_(std::move(trip)), track_(*trip_) {
  layers_.push_back(tripMarkers(*trip_, track_));
}

tracklog::SpeedUnit MapScene::unit() const {
  return shownUnit(trip_->results.unit);
}

const SimplifiedTrack& MapScene::trackAt(int zoom) const {
  auto& slot = simplified_[static_cast<std::size_t>(std::clamp(zoom, 0, kMaxZoom))];
  if (!slot) slot = std::make_unique<SimplifiedTrack>(simplifyTrack(track_, zoom));
  return *slot;
}

void MapScene::setMarkerLayer(MarkerLayer layer) {
  const auto same = std::find_if(layers_.begin(), layers_.end(),
                                 [&](const MarkerLayer& l) { return l.name == layer.name; });
  if (same != layers_.end()) {
    *same = std::move(layer);
  } else {
    layers_.push_back(std::move(layer));
  }
}

void MapScene::removeMarkerLayer(std::string_view name) {
  std::erase_if(layers_, [&](const MarkerLayer& l) { return l.name == name; });
}

void MapScene::setCursor(std::optional<std::uint32_t> pointIndex) {
  if (pointIndex && *pointIndex >= track_.size()) pointIndex.reset();
  cursor_ = pointIndex;
}

WorldPoint MapScene::place(double latitude, double longitude) const {
  const WorldBox box = track_.box();
  const double centre = longitudeAt((box.left + box.right) / 2);
  return project(latitude, centre + std::remainder(longitude - centre, 360.0));
}

std::optional<MarkerHit> MapScene::markerAt(const MapView& view, const ScreenPoint& s, double radius) const {
  for (std::size_t l = layers_.size(); l-- > 0;) {
    const std::vector<Marker>& markers = layers_[l].markers;
    for (std::size_t m = markers.size(); m-- > 0;) {
      const ScreenPoint p = view.toScreen(markers[m].at);
      if (std::hypot(p.x - s.x, p.y - s.y) <= radius) return MarkerHit{l, m};
    }
  }
  return std::nullopt;
}

std::optional<std::uint32_t> MapScene::pointAt(const MapView& view, const ScreenPoint& s,
                                               double radius) const {
  const WorldPoint target = view.toWorld(s);
  const double r = radius / view.scale();
  double best = r * r;
  std::optional<std::uint32_t> nearest;
  const std::vector<WorldPoint>& points = track_.points();
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double dx = points[i].x - target.x;
    const double dy = points[i].y - target.y;
    const double d = dx * dx + dy * dy;
    if (d <= best && (!nearest || d < best)) {
      best = d;
      nearest = static_cast<std::uint32_t>(i);
    }
  }
  return nearest;
}

}  // namespace tellurix::map

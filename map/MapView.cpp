#include "MapView.h"

#include <algorithm>
#include <cmath>

namespace tellurix::map {
namespace {

constexpr int kFitMargin = 64;

}  // namespace

MapView::MapView(int width, int height, int zoom, double centreX, double centreY)
    : width_(width),
      height_(height),
      zoom_(std::clamp(zoom, 0, kMaxZoom)),
      centreX_(centreX),
      centreY_(centreY),
      scale_(std::ldexp(1.0, zoom_)) {}

WorldBox MapView::visibleBox() const {
  const WorldPoint a = toWorld({0, 0});
  const WorldPoint b = toWorld({static_cast<double>(width_), static_cast<double>(height_)});
  return {a.x, a.y, b.x, b.y};
}

void MapView::zoomAbout(const ScreenPoint& anchor, int steps) {
  const int zoom = std::clamp(zoom_ + steps, 0, kMaxZoom);
  if (zoom == zoom_) return;
  const WorldPoint fixed = toWorld(anchor);
  zoom_ = zoom;
  scale_ = std::ldexp(1.0, zoom_);
  centreX_ = fixed.x * scale_ - (anchor.x - width_ / 2.0);
  centreY_ = fixed.y * scale_ - (anchor.y - height_ / 2.0);
  clampCentre();
}

void MapView::panBy(double dx, double dy) {
  centreX_ -= dx;
  centreY_ -= dy;
  clampCentre();
}

void MapView::resize(int width, int height) {
  width_ = width;
  height_ = height;
}

void MapView::clampCentre() {
  centreY_ = std::clamp(centreY_, 0.0, kTileSize * scale_);
}

MapView fitView(const WorldBox& box, int width, int height) {
  int zoom = kMaxFitZoom;
  while (zoom > 0) {
    const double scale = std::ldexp(1.0, zoom);
    if (box.width() * scale <= width - kFitMargin && box.height() * scale <= height - kFitMargin) break;
    --zoom;
  }
  const double scale = std::ldexp(1.0, zoom);
  return {width, height, zoom, (box.left + box.right) / 2 * scale, (box.top + box.bottom) / 2 * scale};
}

}  // namespace tellurix::map

#pragma once

#include "WebMercator.h"

namespace tellurix::map {

inline constexpr int kMaxFitZoom = 17;
inline constexpr int kMaxZoom = 19;  // the deepest level tile servers commonly have

// A position in the image, in pixels from its top left corner.
struct ScreenPoint {
  double x = 0;
  double y = 0;
};

// What an image of width × height pixels shows: the zoom level and the world pixel (at that
// zoom) drawn at the image centre.
class MapView {
 public:
  MapView() = default;
  MapView(int width, int height, int zoom, double centreX, double centreY);

  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  [[nodiscard]] int zoom() const { return zoom_; }
  [[nodiscard]] double centreX() const { return centreX_; }
  [[nodiscard]] double centreY() const { return centreY_; }
  // World pixels at this zoom per world pixel at zoom 0.
  [[nodiscard]] double scale() const { return scale_; }

  [[nodiscard]] ScreenPoint toScreen(const WorldPoint& p) const {
    return {p.x * scale_ - centreX_ + width_ / 2.0, p.y * scale_ - centreY_ + height_ / 2.0};
  }
  [[nodiscard]] WorldPoint toWorld(const ScreenPoint& s) const {
    return {(s.x - width_ / 2.0 + centreX_) / scale_, (s.y - height_ / 2.0 + centreY_) / scale_};
  }
  // The part of the world the image shows, at zoom 0.
  [[nodiscard]] WorldBox visibleBox() const;

  // Zooms by `steps` levels (negative: out) within [0, kMaxZoom], keeping the world point under
  // `anchor` where it is on the image.
  void zoomAbout(const ScreenPoint& anchor, int steps);
  // Moves the map with the pointer: what was at s is then at s + (dx, dy). The world's top and
  // bottom edges never pass the image centre.
  void panBy(double dx, double dy);
  // A new image size around the same centre.
  void resize(int width, int height);

  friend bool operator==(const MapView&, const MapView&) = default;

 private:
  void clampCentre();

  int width_ = 0;
  int height_ = 0;
  int zoom_ = 0;
  double centreX_ = kTileSize / 2;
  double centreY_ = kTileSize / 2;
  double scale_ = 1;
};

// The fit of a box into an image: the largest zoom in [0, kMaxFitZoom] at which the box is at
// most width − 64 pixels wide and height − 64 pixels high (0 when there is none), the box's
// centre at the image centre.
MapView fitView(const WorldBox& box, int width, int height);

}  // namespace tellurix::map

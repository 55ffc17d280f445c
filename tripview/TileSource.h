#pragma once

class QImage;

namespace tellurix::map {
struct TileId;
}

namespace tellurix::tripview {

// The map tiles the painter may draw: those at hand now; the painter never waits for one.
class TileSource {
 public:
  virtual ~TileSource() = default;
  // The tile's image, or null when it is not (yet) at hand; valid until control returns to
  // the event loop.
  [[nodiscard]] virtual const QImage* tileImage(const map::TileId& tile) const = 0;
};

}  // namespace tellurix::tripview

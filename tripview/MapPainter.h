#pragma once

#include <QColor>
#include <QString>
#include <cstddef>

#include "map/MapScene.h"
#include "map/MapView.h"

class QImage;
class QPainter;

namespace tellurix::tripview {

class TileSource;

// What the map writes over the scene besides its layers.
struct MapDecorations {
  QString attribution;  // always drawn at the bottom right
};

// Draws the map of `scene` as `view` shows it onto the painter's device, from (0, 0) to the
// view's size: the plain background with its grid, the tiles at hand, the track, the marker
// layers, the cursor, the legend, the scale bar and the attribution. The trip view and the
// batch tool's picture both draw through this one function.
void paintMap(QPainter& painter, const map::MapScene& scene, const map::MapView& view,
              const TileSource* tiles, const MapDecorations& decorations);

// The same into a new image of the view's size.
QImage mapPicture(const map::MapScene& scene, const map::MapView& view, const TileSource* tiles,
                  const MapDecorations& decorations);

// The line colour of a speed class (index into report::kSpeedClasses).
QColor speedClassColour(std::size_t speedClass);
// The fill of a marker kind's symbol.
QColor markerColour(map::MarkerKind kind);
inline constexpr double kMarkerRadius = 9;
inline const QColor kBackgroundColour{0xee, 0xeb, 0xe4};
inline const QColor kCursorColour{0x00, 0xac, 0xc1};

}  // namespace tellurix::tripview

#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

#include "MapPainter.h"
#include "map/MapScene.h"
#include "map/MapView.h"

namespace tellurix::tripview {

class TileLoader;

// The map of one trip: opens fitted, zooms with the wheel, + and − about the pointer and in with a
// double click, pans when dragged, fits the whole trip again on Home. Hovering a marker shows
// its texts; hovering the track reports the point under the pointer.
class TripMapWidget final : public QWidget {
  Q_OBJECT

 public:
  // `tiles` may be null (no tiles) and must outlive the widget.
  TripMapWidget(std::shared_ptr<const map::TripData> trip, TileLoader* tiles, MapDecorations decorations,
                QWidget* parent = nullptr);

  [[nodiscard]] const map::MapScene& scene() const { return scene_; }
  [[nodiscard]] const map::MapView& view() const { return view_; }

  // The whole trip, as on opening.
  void fitTrip();
  // Points first .. last of the trip, by the same rule: a stretch chosen on a profile or a leg.
  void fitToPoints(std::uint32_t first, std::uint32_t last);
  // A ring at the point, or none.
  void setCursorPoint(std::optional<std::uint32_t> pointIndex);
  // Adds or replaces a layer of markers drawn over the trip's own (photos).
  void setMarkerLayer(map::MarkerLayer layer);
  void removeMarkerLayer(const QString& name);

  // What the map shows now, as the painter draws it.
  [[nodiscard]] QImage picture() const;
  // The texts of the marker under the pointer, one per line; empty when there is none.
  [[nodiscard]] const QString& hoverText() const { return hoverText_; }

 signals:
  // The track point under the pointer, −1 when it leaves the track.
  void pointHovered(int pointIndex);
  // The marker under the pointer (layer name, index in the layer); an empty name when none.
  void markerHovered(const QString& layer, int marker);
  void markerClicked(const QString& layer, int marker);
  void viewChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void setView(const map::MapView& view);
  void zoomAbout(const QPointF& anchor, int steps);
  [[nodiscard]] QPointF zoomAnchor() const;
  void hover(const QPointF& at, const QPoint& globalAt);
  void clearHover();

  map::MapScene scene_;
  map::MapView view_;
  TileLoader* tiles_;
  MapDecorations decorations_;
  std::optional<std::pair<std::uint32_t, std::uint32_t>> fitted_;  // refitted on resize until moved
  std::optional<QPointF> pointer_;  // where the pointer was last seen over the map
  std::optional<QPointF> dragFrom_;
  bool dragged_ = false;
  int wheelRest_ = 0;
  int hoveredPoint_ = -1;
  std::optional<map::MarkerHit> hoveredMarker_;
  QString hoverText_;
};

}  // namespace tellurix::tripview

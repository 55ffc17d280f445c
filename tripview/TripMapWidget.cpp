#include "TripMapWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "TileLoader.h"
#include "map/TileGrid.h"

namespace tellurix::tripview {
namespace {

constexpr int kWheelStep = 120;  // one notch of a common wheel
constexpr double kHoverPointRadius = 8;
constexpr double kKeyPanPixels = 96;

map::ScreenPoint screenPoint(const QPointF& p) {
  return {p.x(), p.y()};
}

}  // namespace

TripMapWidget::TripMapWidget(std::shared_ptr<const map::TripData> trip, TileLoader* tiles,
                             MapDecorations decorations, QWidget* parent)
    : QWidget(parent), scene_(std::move(trip)), tiles_(tiles), decorations_(std::move(decorations)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
  if (tiles_ != nullptr) connect(tiles_, &TileLoader::tileLoaded, this, qOverload<>(&QWidget::update));
  const auto count = static_cast<std::uint32_t>(scene_.track().size());
  fitted_ = {{0, count == 0 ? 0 : count - 1}};
  view_ = map::fitView(scene_.track().box(), width(), height());
}

void TripMapWidget::fitTrip() {
  const auto count = static_cast<std::uint32_t>(scene_.track().size());
  fitToPoints(0, count == 0 ? 0 : count - 1);
}

void TripMapWidget::fitToPoints(std::uint32_t first, std::uint32_t last) {
  fitted_ = {{first, last}};
  setView(map::fitView(scene_.track().box(first, last), width(), height()));
}

void TripMapWidget::setCursorPoint(std::optional<std::uint32_t> pointIndex) {
  scene_.setCursor(pointIndex);
  update();
}

void TripMapWidget::setMarkerLayer(map::MarkerLayer layer) {
  scene_.setMarkerLayer(std::move(layer));
  clearHover();
  update();
}

void TripMapWidget::removeMarkerLayer(const QString& name) {
  scene_.removeMarkerLayer(name.toStdString());
  clearHover();
  update();
}

QImage TripMapWidget::picture() const {
  return mapPicture(scene_, view_, tiles_, decorations_);
}

void TripMapWidget::setView(const map::MapView& view) {
  view_ = view;
  if (tiles_ != nullptr) tiles_->request(map::tilesToLoad(view_));
  update();
  emit viewChanged();
}

void TripMapWidget::zoomAbout(const QPointF& anchor, int steps) {
  if (steps == 0) return;
  map::MapView view = view_;
  view.zoomAbout(screenPoint(anchor), steps);
  if (view == view_) return;
  fitted_.reset();
  setView(view);
}

// The pointer when it is over the map, else the middle of the map.
QPointF TripMapWidget::zoomAnchor() const {
  if (pointer_ && rect().contains(pointer_->toPoint())) return *pointer_;
  return {width() / 2.0, height() / 2.0};
}

void TripMapWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  paintMap(painter, scene_, view_, tiles_, decorations_);
}

void TripMapWidget::resizeEvent(QResizeEvent* /*event*/) {
  if (fitted_) {
    fitToPoints(fitted_->first, fitted_->second);
    return;
  }
  map::MapView view = view_;
  view.resize(width(), height());
  setView(view);
}

void TripMapWidget::wheelEvent(QWheelEvent* event) {
  wheelRest_ += event->angleDelta().y();
  const int steps = wheelRest_ / kWheelStep;
  wheelRest_ -= steps * kWheelStep;
  zoomAbout(event->position(), steps);
  event->accept();
}

void TripMapWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragFrom_ = event->position();
  dragged_ = false;
}

void TripMapWidget::mouseMoveEvent(QMouseEvent* event) {
  pointer_ = event->position();
  if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
    const QPointF delta = event->position() - *dragFrom_;
    dragFrom_ = event->position();
    if (delta.isNull()) return;
    dragged_ = true;
    clearHover();
    map::MapView view = view_;
    view.panBy(delta.x(), delta.y());
    fitted_.reset();
    setView(view);
    return;
  }
  hover(event->position(), event->globalPosition().toPoint());
}

void TripMapWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragFrom_) return;
  dragFrom_.reset();
  if (dragged_) return;
  if (const auto hit = scene_.markerAt(view_, screenPoint(event->position()), kMarkerRadius + 2)) {
    emit markerClicked(QString::fromStdString(scene_.markerLayers()[hit->layer].name),
                       static_cast<int>(hit->marker));
  }
}

void TripMapWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) zoomAbout(event->position(), 1);
}

void TripMapWidget::keyPressEvent(QKeyEvent* event) {
  map::MapView view = view_;
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      zoomAbout(zoomAnchor(), 1);
      return;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      zoomAbout(zoomAnchor(), -1);
      return;
    case Qt::Key_Home:
      fitTrip();
      return;
    case Qt::Key_Left:
      view.panBy(kKeyPanPixels, 0);
      break;
    case Qt::Key_Right:
      view.panBy(-kKeyPanPixels, 0);
      break;
    case Qt::Key_Up:
      view.panBy(0, kKeyPanPixels);
      break;
    case Qt::Key_Down:
      view.panBy(0, -kKeyPanPixels);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  fitted_.reset();
  setView(view);
}

void TripMapWidget::leaveEvent(QEvent* /*event*/) {
  pointer_.reset();
  clearHover();
}

void TripMapWidget::hover(const QPointF& at, const QPoint& globalAt) {
  const std::optional<map::MarkerHit> hit = scene_.markerAt(view_, screenPoint(at), kMarkerRadius + 2);
  const bool sameMarker =
      hit.has_value() == hoveredMarker_.has_value() &&
      (!hit || (hit->layer == hoveredMarker_->layer && hit->marker == hoveredMarker_->marker));
  if (!sameMarker) {
    hoveredMarker_ = hit;
    hoverText_.clear();
    QString layer;
    int marker = -1;
    if (hit) {
      const map::MarkerLayer& l = scene_.markerLayers()[hit->layer];
      layer = QString::fromStdString(l.name);
      marker = static_cast<int>(hit->marker);
      QStringList lines;
      for (const std::string& line : l.markers[hit->marker].hoverLines) lines << QString::fromStdString(line);
      hoverText_ = lines.join(QLatin1Char('\n'));
      QToolTip::showText(globalAt, hoverText_, this);
    } else {
      QToolTip::hideText();
    }
    emit markerHovered(layer, marker);
  }
  const std::optional<std::uint32_t> point = scene_.pointAt(view_, screenPoint(at), kHoverPointRadius);
  const int index = point ? static_cast<int>(*point) : -1;
  if (index != hoveredPoint_) {
    hoveredPoint_ = index;
    emit pointHovered(index);
  }
}

void TripMapWidget::clearHover() {
  if (hoveredMarker_) {
    hoveredMarker_.reset();
    hoverText_.clear();
    QToolTip::hideText();
    emit markerHovered(QString(), -1);
  }
  if (hoveredPoint_ != -1) {
    hoveredPoint_ = -1;
    emit pointHovered(-1);
  }
}

}  // namespace tellurix::tripview

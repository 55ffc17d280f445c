#include "MapPainter.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <vector>

#include "TileSource.h"
#include "map/LatLonGrid.h"
#include "map/Legend.h"
#include "map/ScaleBar.h"
#include "map/TileGrid.h"

namespace tellurix::tripview {
namespace {

using map::MarkerKind;
using map::ScreenPoint;

constexpr int kTextPixels = 11;
constexpr double kTrackWidth = 3;
constexpr double kCasingWidth = 5;
constexpr double kPad = 6;
constexpr double kSwatch = 18;
const QColor kGridColour{0xc9, 0xc3, 0xb6};
const QColor kGridTextColour{0x8a, 0x84, 0x78};
const QColor kCasingColour{0x30, 0x30, 0x30, 0x70};
const QColor kPanelColour{0xff, 0xff, 0xff, 0xd8};
const QColor kTextColour{0x20, 0x20, 0x20};

QFont mapFont(bool bold = false) {
  QFont font;
  font.setPixelSize(kTextPixels);
  font.setBold(bold);
  return font;
}

QPointF pointF(const ScreenPoint& p) {
  return {p.x, p.y};
}

// The grid's labels stay clear of the panels drawn over the map.
void paintGrid(QPainter& painter, const map::MapView& view, const std::vector<QRectF>& panels) {
  painter.setFont(mapFont());
  const QFontMetrics metrics(painter.font());
  const auto clear = [&](const QRectF& text) {
    return std::none_of(panels.begin(), panels.end(), [&](const QRectF& p) { return p.intersects(text); });
  };
  for (const map::GridLine& line : map::gridLines(view)) {
    const QString label = QString::fromStdString(line.label);
    const double width = metrics.horizontalAdvance(label);
    painter.setPen(QPen(kGridColour, 1));
    QPointF at;
    if (line.meridian) {
      painter.drawLine(QPointF(line.position, 0), QPointF(line.position, view.height()));
      at = QPointF(line.position + 3, metrics.ascent() + 2);
    } else {
      painter.drawLine(QPointF(0, line.position), QPointF(view.width(), line.position));
      at = QPointF(view.width() - width - 3, line.position - 3);
    }
    if (!clear(QRectF(at.x(), at.y() - metrics.ascent(), width, metrics.height()))) continue;
    painter.setPen(kGridTextColour);
    painter.drawText(at, label);
  }
}

void paintTiles(QPainter& painter, const map::MapView& view, const TileSource& tiles) {
  for (const map::TilePlacement& place : map::visibleTiles(view)) {
    const QImage* image = tiles.tileImage(place.id);
    if (image == nullptr) continue;
    const QRectF target(std::round(place.left), std::round(place.top), map::kTileSize, map::kTileSize);
    painter.drawImage(target, *image);
  }
}

// The simplified track's runs that meet the view, in their class colour over a darker casing
// that keeps them visible on any tile. Drawn as separate segments with square caps: the
// rasterizer fills those directly, where joins and round caps would go through the stroker.
void paintTrack(QPainter& painter, const map::MapScene& scene, const map::MapView& view) {
  const map::SimplifiedTrack& track = scene.trackAt(view.zoom());
  const map::TrackGeometry& geometry = scene.track();
  map::WorldBox visible = view.visibleBox();
  const double margin = kCasingWidth / view.scale();
  visible = {visible.left - margin, visible.top - margin, visible.right + margin, visible.bottom + margin};

  std::vector<const map::TrackRun*> shown;
  std::size_t segments = 0;
  for (const map::TrackRun& run : track.runs) {
    if (!run.box.intersects(visible)) continue;
    shown.push_back(&run);
    segments += run.end - run.begin - 1;
  }
  std::vector<QLineF> lines;
  lines.reserve(segments);
  std::vector<std::size_t> runEnds;
  for (const map::TrackRun* run : shown) {
    QPointF from = pointF(view.toScreen(geometry.point(track.vertices[run->begin])));
    for (std::uint32_t v = run->begin + 1; v < run->end; ++v) {
      const QPointF to = pointF(view.toScreen(geometry.point(track.vertices[v])));
      lines.emplace_back(from, to);
      from = to;
    }
    runEnds.push_back(lines.size());
  }
  painter.setPen(QPen(kCasingColour, kCasingWidth, Qt::SolidLine, Qt::SquareCap));
  painter.drawLines(lines.data(), static_cast<int>(lines.size()));
  std::size_t first = 0;
  for (std::size_t r = 0; r < shown.size(); ++r) {
    painter.setPen(QPen(speedClassColour(shown[r]->speedClass), kTrackWidth, Qt::SolidLine, Qt::SquareCap));
    painter.drawLines(lines.data() + first, static_cast<int>(runEnds[r] - first));
    first = runEnds[r];
  }
  painter.setPen(Qt::NoPen);
  for (const std::uint32_t dot : track.dots) {
    painter.setBrush(speedClassColour(geometry.speedClass(dot)));
    painter.drawEllipse(pointF(view.toScreen(geometry.point(dot))), kTrackWidth, kTrackWidth);
  }
}

QString markerText(const map::Marker& marker) {
  switch (marker.kind) {
    case MarkerKind::Begin:
      return QStringLiteral("B");
    case MarkerKind::Stop:
      return QString::number(marker.number);
    case MarkerKind::End:
      return QStringLiteral("E");
    case MarkerKind::MaxSpeed:
      return QStringLiteral("M");
    case MarkerKind::Photo:
      break;
  }
  return {};
}

// A disc with its letter or number; a photo is a small square with a lens.
void paintMarker(QPainter& painter, const map::Marker& marker, const QPointF& at) {
  painter.setPen(QPen(Qt::white, 2));
  painter.setBrush(markerColour(marker.kind));
  if (marker.kind == MarkerKind::Photo) {
    painter.drawRoundedRect(QRectF(at.x() - 8, at.y() - 6, 16, 12), 2, 2);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawEllipse(at, 3, 3);
    return;
  }
  painter.drawEllipse(at, kMarkerRadius, kMarkerRadius);
  painter.setPen(Qt::white);
  const QRectF box(at.x() - kMarkerRadius, at.y() - kMarkerRadius, 2 * kMarkerRadius, 2 * kMarkerRadius);
  painter.drawText(box, Qt::AlignCenter, markerText(marker));
}

void paintMarkers(QPainter& painter, const map::MapScene& scene, const map::MapView& view) {
  painter.setFont(mapFont(true));
  const double margin = kMarkerRadius + 2;
  for (const map::MarkerLayer& layer : scene.markerLayers()) {
    for (const map::Marker& marker : layer.markers) {
      const ScreenPoint p = view.toScreen(marker.at);
      if (p.x < -margin || p.y < -margin || p.x > view.width() + margin || p.y > view.height() + margin)
        continue;
      paintMarker(painter, marker, pointF(p));
    }
  }
  if (const auto cursor = scene.cursor()) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 5));
    const QPointF at = pointF(view.toScreen(scene.track().point(*cursor)));
    painter.drawEllipse(at, 8, 8);
    painter.setPen(QPen(kCursorColour, 3));
    painter.drawEllipse(at, 8, 8);
  }
}

struct Legend {
  std::vector<QString> labels;
  QRectF panel;
  double row;
};

Legend legendOf(const map::MapScene& scene) {
  const QFontMetrics metrics(mapFont());
  Legend legend;
  double width = 0;
  for (const std::string& label : map::legendLabels(scene.unit())) {
    legend.labels.push_back(QString::fromStdString(label));
    width = std::max(width, 1.0 * metrics.horizontalAdvance(legend.labels.back()));
  }
  legend.row = metrics.height() + 2;
  legend.panel = QRectF(kPad, kPad, width + kSwatch + 3 * kPad,
                        legend.row * static_cast<double>(legend.labels.size()) + kPad);
  return legend;
}

void paintLegend(QPainter& painter, const Legend& legend) {
  painter.setFont(mapFont());
  const QFontMetrics metrics(painter.font());
  painter.setPen(Qt::NoPen);
  painter.setBrush(kPanelColour);
  painter.drawRoundedRect(legend.panel, 3, 3);
  for (std::size_t k = 0; k < legend.labels.size(); ++k) {
    const double y = legend.panel.top() + kPad / 2 + legend.row * static_cast<double>(k) + legend.row / 2;
    const double left = legend.panel.left() + kPad;
    painter.setPen(QPen(speedClassColour(k), kTrackWidth + 1, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(left, y), QPointF(left + kSwatch, y));
    painter.setPen(kTextColour);
    painter.drawText(QPointF(left + kPad + kSwatch, y + metrics.ascent() / 2.0 - 1), legend.labels[k]);
  }
}

struct Scale {
  map::ScaleBar bar;
  QString label;
  QRectF panel;
};

Scale scaleOf(const map::MapScene& scene, const map::MapView& view) {
  const QFontMetrics metrics(mapFont());
  Scale scale;
  scale.bar = map::scaleBar(view, scene.unit(), std::min(150.0, view.width() / 3.0));
  scale.label = QString::fromStdString(scale.bar.label);
  const double width = std::max(scale.bar.pixels, 1.0 * metrics.horizontalAdvance(scale.label)) + 8;
  scale.panel = QRectF(kPad, view.height() - kPad - metrics.height() - 12, width, metrics.height() + 12);
  return scale;
}

void paintScaleBar(QPainter& painter, const Scale& scale) {
  if (scale.bar.pixels <= 0) return;
  painter.setFont(mapFont());
  painter.setPen(Qt::NoPen);
  painter.setBrush(kPanelColour);
  painter.drawRoundedRect(scale.panel, 3, 3);
  const double left = scale.panel.left() + 4;
  const double y = scale.panel.bottom() - 4;
  QPainterPath ticks;
  ticks.moveTo(left, y - 5);
  ticks.lineTo(left, y);
  ticks.lineTo(left + scale.bar.pixels, y);
  ticks.lineTo(left + scale.bar.pixels, y - 5);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kTextColour, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.drawPath(ticks);
  painter.drawText(QPointF(left, y - 7), scale.label);
}

QRectF attributionPanel(const map::MapView& view, const QString& attribution) {
  if (attribution.isEmpty()) return {};
  const QFontMetrics metrics(mapFont());
  const double width = metrics.horizontalAdvance(attribution) + 8;
  return {view.width() - width, view.height() - metrics.height() - 4.0, width, metrics.height() + 4.0};
}

void paintAttribution(QPainter& painter, const QRectF& panel, const QString& attribution) {
  if (attribution.isEmpty()) return;
  painter.setFont(mapFont());
  painter.setPen(Qt::NoPen);
  painter.setBrush(kPanelColour);
  painter.drawRect(panel);
  painter.setPen(kTextColour);
  painter.drawText(panel, Qt::AlignCenter, attribution);
}

}  // namespace

QColor speedClassColour(std::size_t speedClass) {
  static const std::array<QColor, 5> colours{QColor(0x8e, 0x24, 0xaa), QColor(0xe5, 0x39, 0x35),
                                             QColor(0xfb, 0x8c, 0x00), QColor(0x43, 0xa0, 0x47),
                                             QColor(0x1e, 0x5a, 0xd6)};
  return colours[std::min(speedClass, colours.size() - 1)];
}

QColor markerColour(MarkerKind kind) {
  switch (kind) {
    case MarkerKind::Begin:
      return {0x2e, 0x7d, 0x32};
    case MarkerKind::Stop:
      return {0xc6, 0x28, 0x28};
    case MarkerKind::End:
      return {0x21, 0x21, 0x21};
    case MarkerKind::MaxSpeed:
      return {0xff, 0x6f, 0x00};
    case MarkerKind::Photo:
      return {0x00, 0x83, 0x8f};
  }
  return Qt::gray;
}

void paintMap(QPainter& painter, const map::MapScene& scene, const map::MapView& view,
              const TileSource* tiles, const MapDecorations& decorations) {
  painter.save();
  painter.setClipRect(QRect(0, 0, view.width(), view.height()));
  painter.fillRect(QRect(0, 0, view.width(), view.height()), kBackgroundColour);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const Legend legend = legendOf(scene);
  const Scale scale = scaleOf(scene, view);
  const QRectF attribution = attributionPanel(view, decorations.attribution);
  paintGrid(painter, view, {legend.panel, scale.panel, attribution});
  if (tiles != nullptr) paintTiles(painter, view, *tiles);
  paintTrack(painter, scene, view);
  paintMarkers(painter, scene, view);
  paintLegend(painter, legend);
  paintScaleBar(painter, scale);
  paintAttribution(painter, attribution, decorations.attribution);
  painter.restore();
}

QImage mapPicture(const map::MapScene& scene, const map::MapView& view, const TileSource* tiles,
                  const MapDecorations& decorations) {
  QImage image(view.width(), view.height(), QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  paintMap(painter, scene, view, tiles, decorations);
  painter.end();
  return image;
}

}  // namespace tellurix::tripview

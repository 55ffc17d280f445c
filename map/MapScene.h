#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "MapView.h"
#include "Markers.h"
#include "SimplifiedTrack.h"
#include "TrackGeometry.h"
#include "TripData.h"

namespace tellurix::map {

struct MarkerHit {
  std::size_t layer = 0;   // index in markerLayers()
  std::size_t marker = 0;  // index in that layer's markers
};

// Everything the map draws for one trip, in drawing order: the track, then the marker layers
// (the trip's own first), then the cursor. Views set the cursor and add layers of their own
// (photos); the painter and the hover read it.
class MapScene {
 public:
  explicit MapScene(std::shared_ptr<const TripData> trip);

  [[nodiscard]] const TripData& trip() const { return *trip_; }
  [[nodiscard]] const TrackGeometry& track() const { return track_; }
  // The unit of the legend, the scale bar and the hover texts.
  [[nodiscard]] tracklog::SpeedUnit unit() const;
  // The track simplified for a zoom level; made on first use and kept.
  [[nodiscard]] const SimplifiedTrack& trackAt(int zoom) const;

  [[nodiscard]] const std::vector<MarkerLayer>& markerLayers() const { return layers_; }
  // Replaces the layer of the same name, or adds it on top.
  void setMarkerLayer(MarkerLayer layer);
  void removeMarkerLayer(std::string_view name);

  // A ring at a track point, set by the views that follow a point in time.
  [[nodiscard]] std::optional<std::uint32_t> cursor() const { return cursor_; }
  void setCursor(std::optional<std::uint32_t> pointIndex);

  // Where a position goes on this trip's map: its longitude taken by whole turns to within half a
  // turn of the track's centre, so markers cross the antimeridian with the track.
  [[nodiscard]] WorldPoint place(double latitude, double longitude) const;

  // The topmost marker within `radius` pixels of s.
  [[nodiscard]] std::optional<MarkerHit> markerAt(const MapView& view, const ScreenPoint& s,
                                                  double radius) const;
  // The track point nearest to s within `radius` pixels; the earliest of equally near ones.
  [[nodiscard]] std::optional<std::uint32_t> pointAt(const MapView& view, const ScreenPoint& s,
                                                     double radius) const;

 private:
  std::shared_ptr<const TripData> trip_;
  TrackGeometry track_;
  std::vector<MarkerLayer> layers_;
  std::optional<std::uint32_t> cursor_;
  mutable std::array<std::unique_ptr<SimplifiedTrack>, kMaxZoom + 1> simplified_;
};

}  // namespace tellurix::map

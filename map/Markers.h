#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TrackGeometry.h"
#include "TripData.h"
#include "WebMercator.h"

namespace tellurix::map {

// What a marker stands for; the painter draws each kind with its own symbol.
enum class MarkerKind : std::uint8_t { Begin, Stop, End, MaxSpeed, Photo };

struct Marker {
  MarkerKind kind = MarkerKind::Stop;
  WorldPoint at;
  std::uint32_t pointIndex = 0;         // the track point it stands at, or the nearest
  int number = 0;                       // a stop's number as the report counts it
  std::vector<std::string> hoverLines;  // UTF-8; the first is the title
};

// A named set of markers drawn over the track, in the order of the scene's layers.
struct MarkerLayer {
  std::string name;
  std::vector<Marker> markers;
};

inline constexpr const char* kTripMarkerLayer = "trip";

// Begin, Stop 1 .. n at the last point of each leg that ends in a stop, End and MaxSpeed, with
// the report's own texts for their hover. Drawn MaxSpeed first and End last.
MarkerLayer tripMarkers(const TripData& trip, const TrackGeometry& track);

}  // namespace tellurix::map

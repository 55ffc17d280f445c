#pragma once

#include <cstdint>

#include "KmlContext.h"
#include "tracklog/TextBuffer.h"
#include "tracklog/TrackPoint.h"

// Placemarks at the end of a leg, whose description adds the leg's totals: when it began and
// ended (local time), how long it took, how far it went (km, as computed by the caller), its
// average speed and, for a stop, how long the stop lasted. They stand at the stop (or end)
// point: its time stamp and coordinates, never the begin point's.
namespace tellurix::kml {

// "Stop N" in the trip path and point documents.
void writeStopPlacemark(tracklog::TextOut out, const KmlContext& context,
                        const tracklog::TrackPoint& stopPoint, const tracklog::TrackPoint& beginPoint,
                        double mileageKm, std::uint32_t number, std::uint32_t stopSeconds);

// "StopN" in a per-leg document; otherwise the same lines (note the order of the last two).
void writeLegStopPlacemark(tracklog::TextOut out, const KmlContext& context,
                           const tracklog::TrackPoint& stopPoint, const tracklog::TrackPoint& beginPoint,
                           double mileageKm, std::uint32_t stopSeconds, std::uint32_t number);

// "End": the whole trip's totals up to the mileage, without average speed or stop time.
void writeEndPlacemark(tracklog::TextOut out, const KmlContext& context, const tracklog::TrackPoint& endPoint,
                       const tracklog::TrackPoint& beginPoint, double mileageKm);

}  // namespace tellurix::kml

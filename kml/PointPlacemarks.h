#pragma once

#include <cstdint>

#include "KmlContext.h"
#include "tracklog/TextBuffer.h"
#include "tracklog/TrackPoint.h"

// Placemarks of single points. Every point is a UTC point: its time stamp is printed as it
// stands, its description shows the local time and the unit the window holds at the call.
namespace tellurix::kml {

// "Begin": the first point of a document.
void writeBeginPlacemark(tracklog::TextOut out, const KmlContext& context, const tracklog::TrackPoint& point);

// "Start N": where leg N sets off, in the trip path and point documents.
void writeStartPlacemark(tracklog::TextOut out, const KmlContext& context, const tracklog::TrackPoint& point,
                         std::uint32_t number);

// Opens the folder "Point N" and writes the Start placemark of leg N into it. The caller
// closes the folder with a "</Folder>" line.
void writePointFolderStart(tracklog::TextOut out, const KmlContext& context,
                           const tracklog::TrackPoint& point, std::uint32_t number);

// "StartN": the Start placemark of a per-leg document.
void writeLegStartPlacemark(tracklog::TextOut out, const KmlContext& context,
                            const tracklog::TrackPoint& point, std::uint32_t number);

// An unnamed placemark with the small track-point icon (an over-speed point).
void writeTrackPointPlacemark(tracklog::TextOut out, const KmlContext& context,
                              const tracklog::TrackPoint& point);

// "MaxSpeed": refers to "#linestyle" even in a document whose head does not define it.
void writeMaxSpeedPlacemark(tracklog::TextOut out, const KmlContext& context,
                            const tracklog::TrackPoint& point);

// An unnamed placemark in the label style of writeLabelDocumentHead.
void writeLabelPointPlacemark(tracklog::TextOut out, const KmlContext& context,
                              const tracklog::TrackPoint& point);

}  // namespace tellurix::kml

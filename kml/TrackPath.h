#pragma once

#include <cstdint>

#include "tracklog/TextBuffer.h"
#include "tracklog/TrackPoint.h"

// A leg drawn as one line: writePathHead, writePathCoordinate for each of its points in order,
// then writePathTail with its first and last points. Paths refer to the "linestyle" of
// writeTripDocumentHead and show no unit or local time, so they read nothing from the window.
namespace tellurix::kml {

// The opening of the "Path N" placemark up to the opening coordinates tag (7 lines).
void writePathHead(tracklog::TextOut out, std::uint32_t number);

// One coordinate line: longitude, latitude and altitude in metres with one decimal. Either
// copy of a point will do; its time is not written.
void writePathCoordinate(tracklog::TextOut out, const tracklog::TrackPoint& point);

// The closing of the path placemark with the leg's time span in UTC, as the points hold it (7 lines).
void writePathTail(tracklog::TextOut out, const tracklog::TrackPoint& firstPoint,
                   const tracklog::TrackPoint& lastPoint);

}  // namespace tellurix::kml

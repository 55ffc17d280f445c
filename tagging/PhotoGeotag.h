#pragma once

#include <string>

#include "tracklog/TrackPoint.h"

namespace tellurix::tagging {

enum class GeotagOutcome {
  Tagged,
  Unreadable,  // missing, unreadable or damaged beyond what the Exif reader takes
  NotJpeg,     // another image format, or no image at all
  ReadOnly,    // the copy is marked read-only and is left as it is
  NotWritten,  // the new metadata did not fit, or the file could not be replaced
};

// Writes the position and UTC time of `utcPoint` into the Exif GPS directory of the JPEG at
// `copyPath` (always a copy in the photo folder): version 2.2.0.0, latitude, longitude and
// altitude with their references, time and date stamps, datum "WGS-84". Every other tag and
// the image data stay as they were. The file is replaced whole by a new one written beside it,
// so a failure at any point leaves it untouched. Never throws.
GeotagOutcome writePhotoPosition(const std::string& copyPath, const tracklog::TrackPoint& utcPoint);

}  // namespace tellurix::tagging

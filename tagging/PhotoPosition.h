#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "TaggingUi.h"
#include "tracklog/TrackStore.h"

namespace tellurix::tagging {

// A track position as the photo list shows it, each "%.6f" (the list adds the brackets).
struct PhotoPosition {
  std::string latitude;
  std::string longitude;

  friend bool operator==(const PhotoPosition&, const PhotoPosition&) = default;
};

// The position of the first track point, in report time, at or after the photo's date; the
// last point is never compared, and a photo older than the first point has none. A date text
// without any numeric field has none either; one with some but not all numeric fields throws
// ConversionError, which ends the calling command. Processes events once per compared point.
std::optional<PhotoPosition> lookupPhotoPosition(std::string_view date, const tracklog::TrackStore& store,
                                                 TaggingUi& ui);

}  // namespace tellurix::tagging

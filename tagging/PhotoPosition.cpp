#include "PhotoPosition.h"

#include <cstdio>

#include "PhotoTimeKey.h"

namespace tellurix::tagging {
namespace {

std::string degreesText(double degrees) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", degrees);
  return text;
}

}  // namespace

std::optional<PhotoPosition> lookupPhotoPosition(std::string_view date, const tracklog::TrackStore& store,
                                                 TaggingUi& ui) {
  if (!hasNumericDateField(date)) return std::nullopt;
  const double photoKey = photoTimeKey(date);
  const std::uint32_t count = store.pointCount;
  for (std::uint32_t i = 0; i + 1 < count; ++i) {
    ui.processEvents();
    const double trackKey = trackTimeKey(store.local(i));
    if (i == 0 && photoKey < trackKey) return std::nullopt;
    if (photoKey > trackKey) continue;
    const tracklog::TrackPoint& at = store.utc(i);
    return PhotoPosition{degreesText(at.latitude), degreesText(at.longitude)};
  }
  return std::nullopt;
}

}  // namespace tellurix::tagging

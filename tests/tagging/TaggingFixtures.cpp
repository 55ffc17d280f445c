#include "TaggingFixtures.h"

#include <cstdio>
#include <stdexcept>

#include "tracklog/Calendar.h"

namespace tellurix::tagging::fixtures {

void fillTrack(tracklog::TrackStore& store, const std::vector<std::string>& localTimes) {
  std::uint32_t i = 0;
  for (const std::string& text : localTimes) {
    tracklog::CalendarTime t;
    if (std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                    &t.second) != 6) {
      throw std::invalid_argument(text);
    }
    tracklog::TrackPoint local;
    local.latitude = 25 + i / 1000.0;
    local.longitude = -121 - i / 1000.0;
    local.speed = 30;
    tracklog::TrackPoint utc = local;
    tracklog::setCalendarTime(local, t);
    tracklog::setCalendarTime(utc, tracklog::addSeconds(t, -8 * 3600));
    store.storePoint(i++, local, utc);
  }
  store.pointCount = i;
}

}  // namespace tellurix::tagging::fixtures

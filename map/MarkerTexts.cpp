#include "MarkerTexts.h"

#include <cstdio>

namespace tellurix::map {
namespace {

constexpr double kKmPerMetre = 0.001;
constexpr double kMilesPerKm = 0.625;

}  // namespace

tracklog::SpeedUnit shownUnit(tracklog::SpeedUnit reportUnit) {
  return reportUnit == tracklog::SpeedUnit::Mph ? reportUnit : tracklog::SpeedUnit::Kph;
}

std::string timeText(const tracklog::CalendarTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%4d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

std::string periodText(const tracklog::CalendarTime& from, const tracklog::CalendarTime& to) {
  return "from " + timeText(from) + " to " + timeText(to);
}

std::string mileageText(double metres, tracklog::SpeedUnit unit) {
  char text[64];
  const double km = metres * kKmPerMetre;
  if (unit == tracklog::SpeedUnit::Mph) {
    std::snprintf(text, sizeof text, "total mileage: %.4f mi", km * kMilesPerKm);
  } else {
    std::snprintf(text, sizeof text, "total mileage: %.4f km", km);
  }
  return text;
}

std::string stopForText(std::int64_t s) {
  char text[96];
  std::snprintf(text, sizeof text, "stop for: %02d days %02d hours %02d minutes %02d seconds",
                static_cast<int>(s / 86400), static_cast<int>(s / 3600 % 24), static_cast<int>(s / 60 % 60),
                static_cast<int>(s % 60));
  return text;
}

std::string speedText(int wholeKmh, tracklog::SpeedUnit unit) {
  char text[32];
  if (unit == tracklog::SpeedUnit::Mph) {
    std::snprintf(text, sizeof text, "%.1fMPH", wholeKmh * kMilesPerKm);
  } else {
    std::snprintf(text, sizeof text, "%.1fKPH", static_cast<double>(wholeKmh));
  }
  return text;
}

}  // namespace tellurix::map

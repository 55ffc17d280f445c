#include "ReportNames.h"

#include <cstdio>

namespace tellurix::report {
namespace {

std::string dateText(const tracklog::CalendarTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
  return text;
}

std::string tripName(std::string_view userId, const tracklog::CalendarTime& firstPoint, const char* suffix) {
  std::string name = "trip-";
  if (!userId.empty()) name += fileNameSafe(userId) + "-";
  return name + dateText(firstPoint) + suffix;
}

}  // namespace

std::string reportFolderFor(std::string_view outputPath, const tracklog::CalendarTime& windowStart) {
  const auto slash = outputPath.rfind('/');
  const std::string_view folder =
      slash == std::string_view::npos ? std::string_view{} : outputPath.substr(0, slash + 1);
  return std::string(folder) + dateText(windowStart) + "/";
}

std::string reportBaseNameFor(std::string_view outputPath) {
  const auto slash = outputPath.rfind('/');
  return std::string(slash == std::string_view::npos ? outputPath : outputPath.substr(slash + 1));
}

std::string pointKmlNameFor(std::string_view userId, const tracklog::CalendarTime& firstPoint) {
  return tripName(userId, firstPoint, "_point.kml");
}

std::string pathKmlNameFor(std::string_view userId, const tracklog::CalendarTime& firstPoint) {
  return tripName(userId, firstPoint, ".kml");
}

std::string fileNameSafe(std::string_view text) {
  std::string safe(text);
  for (char& c : safe) {
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
  }
  return safe;
}

}  // namespace tellurix::report

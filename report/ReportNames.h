#pragma once

#include <string>
#include <string_view>

#include "tracklog/Calendar.h"

namespace tellurix::report {

// Where the last report run wrote; kept for View Report, the charts and photo tagging.
struct ReportNames {
  std::string reportFolder;    // ends with '/'
  std::string reportBaseName;  // file name part of the chosen path, extension and all
  std::string pointKmlName;
  std::string pathKmlName;
};

// The folder part of the chosen path, then the window's start date, with a trailing '/'.
std::string reportFolderFor(std::string_view outputPath, const tracklog::CalendarTime& windowStart);
std::string reportBaseNameFor(std::string_view outputPath);

// "trip-" [+ user id + "-"] + the first point's report date, "_point.kml" or ".kml".
std::string pointKmlNameFor(std::string_view userId, const tracklog::CalendarTime& firstPoint);
std::string pathKmlNameFor(std::string_view userId, const tracklog::CalendarTime& firstPoint);

// A text from the logger made safe as part of a file name: '/', '\' and control bytes become '_'.
std::string fileNameSafe(std::string_view text);

}  // namespace tellurix::report

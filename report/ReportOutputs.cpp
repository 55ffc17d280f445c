#include "ReportOutputs.h"

#include <filesystem>
#include <system_error>

namespace tellurix::report {

void openReportOutputs(ReportOutputs& outputs, ReportNames& names, const std::string& outputPath,
                       const tracklog::CalendarTime& windowStart, const tracklog::TrackPoint& firstLocalPoint,
                       const std::string& userId) {
  names.reportFolder = reportFolderFor(outputPath, windowStart);
  names.reportBaseName = reportBaseNameFor(outputPath);
  // A folder that cannot be made shows through the first open below.
  std::error_code ignored;
  std::filesystem::create_directories(names.reportFolder, ignored);

  const std::string base = names.reportFolder + names.reportBaseName;
  tracklog::openOrFail(outputs.reportText, base + "-report.txt", "Report_File file read open error");
  tracklog::openOrFail(outputs.rmc, base + "-rmc.txt", "GPRMC_File file write open error");

  const tracklog::CalendarTime firstDate = tracklog::calendarTimeOf(firstLocalPoint);
  names.pointKmlName = pointKmlNameFor(userId, firstDate);
  tracklog::openOrFail(outputs.pointKml, names.reportFolder + names.pointKmlName, "file write open error");
  names.pathKmlName = pathKmlNameFor(userId, firstDate);
  tracklog::openOrFail(outputs.pathKml, names.reportFolder + names.pathKmlName,
                       "KML_Path_File file write open error");
}

}  // namespace tellurix::report

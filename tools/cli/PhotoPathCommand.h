#pragma once

#include <string>
#include <vector>

namespace tellurix::cli {

// Makes the report, loads the photos in the given order, applies the camera offset once when
// one is given, makes the photo path, writes every placed photo's position into its copy
// (unless --no-exif) and prints the photo list: Name, Date, Latitude and Longitude,
// tab-separated, one row per line. A copy that cannot be tagged is named on stderr; the
// exit status does not change for it.
int photoPathCommand(const std::vector<std::string>& args);

}  // namespace tellurix::cli

#pragma once

#include <string>
#include <vector>

namespace tellurix::cli {

// tellurix-cli zones: the time zone names in the main window's list order, one a line.
int zonesCommand(const std::vector<std::string>& args);

}  // namespace tellurix::cli

#pragma once

#include <string>
#include <vector>

namespace tellurix::cli {

// Prints every complete record of a log file, one line each.
int decodeCommand(const std::vector<std::string>& args);

}  // namespace tellurix::cli

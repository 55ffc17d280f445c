#pragma once

#include <string>
#include <vector>

namespace tellurix::cli {

// Prints the capture-time text of every file, one line each, or "File not found".
int captureTimeCommand(const std::vector<std::string>& args);

}  // namespace tellurix::cli

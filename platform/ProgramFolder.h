#pragma once

#include <string>

namespace tellurix::platform {

// The folder of the running program file, without a trailing separator.
std::string programFolder();

}  // namespace tellurix::platform

#pragma once

#include <string>
#include <vector>

namespace tellurix::cli {

// map <the report options> --png FILE [--size WxH] [--tile-url TEMPLATE] [--no-tiles]: makes the
// report, then draws its trip map fitted into a picture as the trip view draws it.
int mapCommand(const std::vector<std::string>& args);

}  // namespace tellurix::cli

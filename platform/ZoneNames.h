#pragma once

#include <string>
#include <vector>

namespace tellurix::platform {

// The time zone display names the zone list offers, in the form "(UTC+08:00) Taipei": an
// 11-character offset prefix, or "(UTC)", then a blank and the places users know the zone by.
const std::vector<std::string>& zoneDisplayNames();

}  // namespace tellurix::platform

#pragma once

#include <string>
#include <string_view>

namespace tellurix::kml {

// The one public host of the map icons the documents refer to.
inline constexpr const char* kIconHost = "https://maps.google.com";
inline constexpr const char* kTrackPointIcon = "/mapfiles/kml/pal4/icon49.png";
inline constexpr const char* kMaxSpeedIcon = "/mapfiles/kml/shapes/hospitals.png";

inline constexpr const char* kKmlNamespace = "http://earth.google.com/kml/2.1";

// Element text: '&', '<' and '>' become entities, every other byte stays as it is, so an
// ordinary name is copied unchanged while a user id such as "A&B" keeps the document readable.
std::string escapedText(std::string_view text);

}  // namespace tellurix::kml

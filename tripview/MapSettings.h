#pragma once

#include <optional>
#include <string>

#include "shellcore/ProfileStore.h"

namespace tellurix::tripview {

inline constexpr char kDefaultTileUrl[] = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
inline constexpr char kDefaultAttribution[] = "\u00a9 OpenStreetMap contributors";

// Section "Map" of the settings file.
struct MapSettings {
  std::string tileUrl = kDefaultTileUrl;  // empty: no tiles
  std::string attribution = kDefaultAttribution;
};

// "TileUrl" (missing: the default; empty: no tiles) and "TileAttribution" (missing or empty:
// the default, since the map always names where its tiles come from).
MapSettings readMapSettings(shellcore::ProfileStore& settings);

struct WindowSize {
  int width = 0;
  int height = 0;
};

// The trip view's size when it was last closed: "WindowWidth" and "WindowHeight", each a whole
// number from 200 to 20000; nothing when either is missing or out of range.
std::optional<WindowSize> readTripViewSize(shellcore::ProfileStore& settings);
void writeTripViewSize(shellcore::ProfileStore& settings, const WindowSize& size);

}  // namespace tellurix::tripview

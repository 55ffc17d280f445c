#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellurix::shell {

// The report settings kept between runs in "Tellurix.ini", section "Setting", in the program's
// folder. Every operation opens the file, reads or writes, and lets it go: nothing is cached.

std::string settingsPath(const std::string& programFolder);

// What LoadSettings puts into the window; the defaults stand for a missing file or key.
struct LoadedSettings {
  std::string overSpeed = "90";  // shown as stored, whatever it holds
  std::string unit = "KPH";      // shown as stored
  int zoneIndex = 74;            // a position in the zone list
  int timePeriod = 10;           // a text that is no whole number loads as the default
};

// Reads "Over Speed", "Unit", "TimeZone" and "Time Period", in that order.
LoadedSettings readSettings(const std::string& path);

// Writes "Over Speed", "Unit" and "Time Period" as the texts stand, in that order, then the
// chart preference. Failed writes go unreported.
void writeReportSettings(const std::string& path, std::string_view overSpeed, std::string_view unit,
                         std::string_view timePeriod, bool chartPreference);

void writeZoneIndex(const std::string& path, int zoneIndex);

// "ViewGpsSpeedChart": "1" or "0". Nothing when missing or not a whole number.
std::optional<bool> readChartPreference(const std::string& path);

// "WritePhotoPositions", the photo window's choice to write positions into the photo copies:
// "1" or "0". Nothing when missing or not a whole number.
std::optional<bool> readPhotoPositionsPreference(const std::string& path);
void writePhotoPositionsPreference(const std::string& path, bool write);

}  // namespace tellurix::shell

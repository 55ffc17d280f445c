#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ProfileStore.h"

namespace tellurix::shellcore {

// The settings kept between runs in "Tellurix.ini", section "Setting", in the program's folder.
// Every operation reads or writes the store and lets it go: nothing is cached.

std::string settingsPath(const std::string& programFolder);

// The one section of the settings.
inline constexpr std::string_view kSettingsSection = "Setting";

// What LoadSettings puts into the window; the defaults stand for a missing file or key.
struct LoadedSettings {
  std::string overSpeed = "90";  // shown as stored, whatever it holds
  std::string unit = "KPH";      // shown as stored
  int zoneIndex = 74;            // a position in the zone list
  int timePeriod = 10;           // a text that is no whole number loads as the default
};

// Reads "Over Speed", "Unit", "TimeZone" and "Time Period", in that order.
LoadedSettings readSettings(ProfileStore& settings);

// Writes "Over Speed", "Unit" and "Time Period" as the texts stand, in that order, then the
// chart preference. Failed writes go unreported.
void writeReportSettings(ProfileStore& settings, std::string_view overSpeed, std::string_view unit,
                         std::string_view timePeriod, bool chartPreference);

void writeZoneIndex(ProfileStore& settings, int zoneIndex);

// "ViewGpsSpeedChart": "1" or "0". Nothing when missing or not a whole number.
std::optional<bool> readChartPreference(ProfileStore& settings);

// "WritePhotoPositions", the photo window's choice to write positions into the photo copies:
// "1" or "0". Nothing when missing or not a whole number.
std::optional<bool> readPhotoPositionsPreference(ProfileStore& settings);
void writePhotoPositionsPreference(ProfileStore& settings, bool write);

// Any further setting of the section: a whole number, or a switch stored as "1" or "0" (any
// other whole number reads as on). Nothing when missing or not a whole number. Texts are read
// and written through the store itself.
std::optional<std::int32_t> readWholeNumberSetting(ProfileStore& settings, std::string_view key);
std::optional<bool> readSwitchSetting(ProfileStore& settings, std::string_view key);
void writeSwitchSetting(ProfileStore& settings, std::string_view key, bool on);

}  // namespace tellurix::shellcore

#include "SettingsFile.h"

#include "tracklog/WholeNumber.h"

namespace tellurix::shellcore {
namespace {

constexpr std::string_view kSection = kSettingsSection;
constexpr std::string_view kOverSpeed = "Over Speed";
constexpr std::string_view kUnit = "Unit";
constexpr std::string_view kTimeZone = "TimeZone";
constexpr std::string_view kTimePeriod = "Time Period";
constexpr std::string_view kChartPreference = "ViewGpsSpeedChart";
constexpr std::string_view kPhotoPositions = "WritePhotoPositions";

}  // namespace

std::string settingsPath(const std::string& programFolder) {
  return programFolder + "/Tellurix.ini";
}

std::optional<std::int32_t> readWholeNumberSetting(ProfileStore& settings, std::string_view key) {
  const auto value = settings.read(kSection, key);
  if (!value) return std::nullopt;
  return tracklog::parseWholeNumber(*value);
}

std::optional<bool> readSwitchSetting(ProfileStore& settings, std::string_view key) {
  const auto value = readWholeNumberSetting(settings, key);
  if (!value) return std::nullopt;
  return *value != 0;
}

void writeSwitchSetting(ProfileStore& settings, std::string_view key, bool on) {
  settings.write(kSection, key, on ? "1" : "0");
}

LoadedSettings readSettings(ProfileStore& settings) {
  LoadedSettings loaded;
  if (auto text = settings.read(kSection, kOverSpeed)) loaded.overSpeed = std::move(*text);
  if (auto text = settings.read(kSection, kUnit)) loaded.unit = std::move(*text);
  if (const auto index = readWholeNumberSetting(settings, kTimeZone)) loaded.zoneIndex = *index;
  if (const auto minutes = readWholeNumberSetting(settings, kTimePeriod)) loaded.timePeriod = *minutes;
  return loaded;
}

void writeReportSettings(ProfileStore& settings, std::string_view overSpeed, std::string_view unit,
                         std::string_view timePeriod, bool chartPreference) {
  settings.write(kSection, kOverSpeed, overSpeed);
  settings.write(kSection, kUnit, unit);
  settings.write(kSection, kTimePeriod, timePeriod);
  writeSwitchSetting(settings, kChartPreference, chartPreference);
}

void writeZoneIndex(ProfileStore& settings, int zoneIndex) {
  settings.write(kSection, kTimeZone, std::to_string(zoneIndex));
}

std::optional<bool> readChartPreference(ProfileStore& settings) {
  return readSwitchSetting(settings, kChartPreference);
}

std::optional<bool> readPhotoPositionsPreference(ProfileStore& settings) {
  return readSwitchSetting(settings, kPhotoPositions);
}

void writePhotoPositionsPreference(ProfileStore& settings, bool write) {
  writeSwitchSetting(settings, kPhotoPositions, write);
}

}  // namespace tellurix::shellcore

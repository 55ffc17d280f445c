#include "SettingsFile.h"

#include "platform/ProfileFile.h"
#include "tracklog/WholeNumber.h"

namespace tellurix::shell {
namespace {

constexpr std::string_view kSection = "Setting";
constexpr std::string_view kOverSpeed = "Over Speed";
constexpr std::string_view kUnit = "Unit";
constexpr std::string_view kTimeZone = "TimeZone";
constexpr std::string_view kTimePeriod = "Time Period";
constexpr std::string_view kChartPreference = "ViewGpsSpeedChart";
constexpr std::string_view kPhotoPositions = "WritePhotoPositions";

std::optional<std::int32_t> wholeNumberValue(const std::string& path, std::string_view key) {
  const auto value = platform::readProfileString(path, kSection, key);
  if (!value) return std::nullopt;
  return tracklog::parseWholeNumber(*value);
}

}  // namespace

std::string settingsPath(const std::string& programFolder) {
  return programFolder + "/Tellurix.ini";
}

LoadedSettings readSettings(const std::string& path) {
  LoadedSettings settings;
  if (auto text = platform::readProfileString(path, kSection, kOverSpeed))
    settings.overSpeed = std::move(*text);
  if (auto text = platform::readProfileString(path, kSection, kUnit)) settings.unit = std::move(*text);
  if (const auto index = wholeNumberValue(path, kTimeZone)) settings.zoneIndex = *index;
  if (const auto minutes = wholeNumberValue(path, kTimePeriod)) settings.timePeriod = *minutes;
  return settings;
}

void writeReportSettings(const std::string& path, std::string_view overSpeed, std::string_view unit,
                         std::string_view timePeriod, bool chartPreference) {
  platform::writeProfileString(path, kSection, kOverSpeed, overSpeed);
  platform::writeProfileString(path, kSection, kUnit, unit);
  platform::writeProfileString(path, kSection, kTimePeriod, timePeriod);
  platform::writeProfileString(path, kSection, kChartPreference, chartPreference ? "1" : "0");
}

void writeZoneIndex(const std::string& path, int zoneIndex) {
  platform::writeProfileString(path, kSection, kTimeZone, std::to_string(zoneIndex));
}

std::optional<bool> readChartPreference(const std::string& path) {
  const auto value = wholeNumberValue(path, kChartPreference);
  if (!value) return std::nullopt;
  return *value != 0;
}

std::optional<bool> readPhotoPositionsPreference(const std::string& path) {
  const auto value = wholeNumberValue(path, kPhotoPositions);
  if (!value) return std::nullopt;
  return *value != 0;
}

void writePhotoPositionsPreference(const std::string& path, bool write) {
  platform::writeProfileString(path, kSection, kPhotoPositions, write ? "1" : "0");
}

}  // namespace tellurix::shell

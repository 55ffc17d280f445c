#include "MapSettings.h"

#include "platform/ProfileFile.h"
#include "tracklog/WholeNumber.h"

namespace tellurix::tripview {
namespace {

constexpr std::string_view kSection = "Map";
constexpr int kMinWindowSide = 200;
constexpr int kMaxWindowSide = 20000;

std::optional<int> windowSide(const std::string& path, std::string_view key) {
  const auto text = platform::readProfileString(path, kSection, key);
  if (!text) return std::nullopt;
  const auto value = tracklog::parseWholeNumber(*text);
  if (!value || *value < kMinWindowSide || *value > kMaxWindowSide) return std::nullopt;
  return *value;
}

}  // namespace

MapSettings readMapSettings(const std::string& settingsPath) {
  MapSettings settings;
  if (auto url = platform::readProfileString(settingsPath, kSection, "TileUrl"))
    settings.tileUrl = std::move(*url);
  auto attribution = platform::readProfileString(settingsPath, kSection, "TileAttribution");
  if (attribution && !attribution->empty()) settings.attribution = std::move(*attribution);
  return settings;
}

std::optional<WindowSize> readTripViewSize(const std::string& settingsPath) {
  const auto width = windowSide(settingsPath, "WindowWidth");
  const auto height = windowSide(settingsPath, "WindowHeight");
  if (!width || !height) return std::nullopt;
  return WindowSize{*width, *height};
}

void writeTripViewSize(const std::string& settingsPath, const WindowSize& size) {
  platform::writeProfileString(settingsPath, kSection, "WindowWidth", std::to_string(size.width));
  platform::writeProfileString(settingsPath, kSection, "WindowHeight", std::to_string(size.height));
}

}  // namespace tellurix::tripview

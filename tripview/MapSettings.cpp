#include "MapSettings.h"

#include "tracklog/WholeNumber.h"

namespace tellurix::tripview {
namespace {

constexpr std::string_view kSection = "Map";
constexpr int kMinWindowSide = 200;
constexpr int kMaxWindowSide = 20000;

std::optional<int> windowSide(shellcore::ProfileStore& settings, std::string_view key) {
  const auto text = settings.read(kSection, key);
  if (!text) return std::nullopt;
  const auto value = tracklog::parseWholeNumber(*text);
  if (!value || *value < kMinWindowSide || *value > kMaxWindowSide) return std::nullopt;
  return *value;
}

}  // namespace

MapSettings readMapSettings(shellcore::ProfileStore& store) {
  MapSettings settings;
  if (auto url = store.read(kSection, "TileUrl")) settings.tileUrl = std::move(*url);
  auto attribution = store.read(kSection, "TileAttribution");
  if (attribution && !attribution->empty()) settings.attribution = std::move(*attribution);
  return settings;
}

std::optional<WindowSize> readTripViewSize(shellcore::ProfileStore& settings) {
  const auto width = windowSide(settings, "WindowWidth");
  const auto height = windowSide(settings, "WindowHeight");
  if (!width || !height) return std::nullopt;
  return WindowSize{*width, *height};
}

void writeTripViewSize(shellcore::ProfileStore& settings, const WindowSize& size) {
  settings.write(kSection, "WindowWidth", std::to_string(size.width));
  settings.write(kSection, "WindowHeight", std::to_string(size.height));
}

}  // namespace tellurix::tripview

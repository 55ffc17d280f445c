#include "MapCommand.h"

#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

#include "CliArguments.h"
#include "ReportCommand.h"
#include "map/TripData.h"
#include "platform/DataFolder.h"
#include "platform/ProfileFile.h"
#include "shellcore/SettingsFile.h"
#include "tripview/MapSettings.h"
#include "tripview/TripPicture.h"

namespace tellurix::cli {
namespace {

constexpr int kMaxPictureSide = 16384;

struct PictureSize {
  int width;
  int height;
};

PictureSize pictureSize(const std::string& text) {
  int width = 0;
  int height = 0;
  char end = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &end) != 2 || width < 1 || height < 1 ||
      width > kMaxPictureSide || height > kMaxPictureSide) {
    throw UsageError("--size takes WIDTHxHEIGHT, each from 1 to 16384, such as 1200x800");
  }
  return {width, height};
}

// The picture needs fonts and images but no screen: without a display it is drawn offscreen.
void chooseOffscreenWithoutDisplay() {
  const auto unset = [](const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr || *value == '\0';
  };
  if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
}

tripview::PictureOptions pictureOptions(const CliArguments& args) {
  platform::ProfileFile store(shellcore::settingsPath(platform::programDataFolder()));
  const tripview::MapSettings settings = tripview::readMapSettings(store);
  const PictureSize size = pictureSize(args.valueOr("--size", "1200x800"));
  tripview::PictureOptions options;
  options.width = size.width;
  options.height = size.height;
  options.tileUrl = args.flag("--no-tiles") ? "" : args.valueOr("--tile-url", settings.tileUrl);
  options.attribution = QString::fromStdString(settings.attribution);
  return options;
}

}  // namespace

int mapCommand(const std::vector<std::string>& args) {
  std::set<std::string> valueOptions = reportValueOptions();
  valueOptions.insert({"--png", "--size", "--tile-url"});
  std::set<std::string> flagOptions = reportFlagOptions();
  flagOptions.insert("--no-tiles");
  const CliArguments parsed(args, valueOptions, flagOptions);
  const std::string png = parsed.required("--png");
  const tripview::PictureOptions options = pictureOptions(parsed);

  report::ReportSession session;
  if (const int status = runReport(parsed, session); status != kExitDone) return status;
  std::cout << "Report Done\n";
  auto trip = std::make_shared<const map::TripData>(map::tripDataOf(session));

  chooseOffscreenWithoutDisplay();
  int argc = 1;
  char name[] = "tellurix-cli";
  char* argv[] = {name, nullptr};
  const QGuiApplication app(argc, argv);
  const tripview::TripPicture picture = tripview::renderTripPicture(std::move(trip), options);
  // Tiles left plain are not an error: the picture shows the trip on its grid there.
  if (picture.failedTiles > 0) std::cerr << picture.failedTiles << " map tiles could not be loaded\n";
  if (!picture.image.save(QString::fromStdString(png), "PNG")) {
    std::cerr << "PNG file write open error: " << png << '\n';
    return kExitFatal;
  }
  return kExitDone;
}

}  // namespace tellurix::cli

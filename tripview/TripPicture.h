#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <string>

#include "map/TripData.h"

namespace tellurix::tripview {

struct PictureOptions {
  int width = 1200;
  int height = 800;
  std::string tileUrl;  // empty: no tiles
  QString tileCacheFolder;
  QString attribution;
  int tileTimeoutMs = 10000;  // per tile
};

struct TripPicture {
  QImage image;
  int failedTiles = 0;  // tiles left plain
};

// The trip's map fitted into the picture, drawn as the trip view draws it, once every tile it
// shows has loaded or failed. Runs a local event loop while it waits: needs a QGuiApplication.
TripPicture renderTripPicture(std::shared_ptr<const map::TripData> trip, const PictureOptions& options);

}  // namespace tellurix::tripview

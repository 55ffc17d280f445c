#include "TripPicture.h"

#include <QEventLoop>

#include "MapPainter.h"
#include "TileLoader.h"
#include "map/MapScene.h"
#include "map/TileGrid.h"

namespace tellurix::tripview {

TripPicture renderTripPicture(std::shared_ptr<const map::TripData> trip, const PictureOptions& options) {
  const map::MapScene scene(std::move(trip));
  const map::MapView view = map::fitView(scene.track().box(), options.width, options.height);
  TileLoader tiles({options.tileUrl,
                    options.tileCacheFolder.isEmpty() ? defaultTileCacheFolder() : options.tileCacheFolder,
                    tileUserAgent(), options.tileTimeoutMs});
  if (tiles.enabled()) {
    QEventLoop wait;
    QObject::connect(&tiles, &TileLoader::idle, &wait, &QEventLoop::quit);
    tiles.request(map::tilesToLoad(view));
    if (tiles.busy()) wait.exec();
  }
  TripPicture picture;
  picture.image = mapPicture(scene, view, tiles.enabled() ? &tiles : nullptr, {options.attribution});
  picture.failedTiles = tiles.failedCount();
  return picture;
}

}  // namespace tellurix::tripview

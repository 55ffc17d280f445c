#pragma once

#include <QByteArray>
#include <QCache>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QObject>
#include <QString>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "TileSource.h"
#include "map/TileGrid.h"

class QNetworkReply;

namespace tellurix::tripview {

struct TileLoaderOptions {
  std::string urlTemplate;  // with {z}, {x}, {y}; empty: no tiles
  QString cacheFolder;      // the on-disk cache
  QByteArray userAgent;
  int timeoutMs = 10000;  // per request, from sending to the last byte
  int maxRequests = 2;    // at the same time
};

// The cache folder the program uses: $XDG_CACHE_HOME/tellurix/tiles.
QString defaultTileCacheFolder();
// "Tellurix/<version>".
QByteArray tileUserAgent();

// Loads map tiles asynchronously through an HTTP cache on disk that follows the server's caching
// headers; when the network fails, a tile seen before comes from that cache however old it is.
// Only the tiles of the last request() are loaded. A tile that fails (an error status, bytes
// that are no image, no answer in time) is left out and not asked for again by this loader.
class TileLoader final : public QObject, public TileSource {
  Q_OBJECT

 public:
  explicit TileLoader(TileLoaderOptions options, QObject* parent = nullptr);
  TileLoader(const TileLoader&) = delete;
  TileLoader& operator=(const TileLoader&) = delete;
  TileLoader(TileLoader&&) = delete;
  TileLoader& operator=(TileLoader&&) = delete;
  ~TileLoader() override;

  [[nodiscard]] bool enabled() const { return !options_.urlTemplate.empty(); }
  [[nodiscard]] const QImage* tileImage(const map::TileId& tile) const override;

  // The tiles a view shows now, the first most wanted: they replace the tiles still waiting.
  void request(const std::vector<map::TileId>& tiles);
  // Requests waiting or under way.
  [[nodiscard]] bool busy() const { return !queue_.empty() || !replies_.empty(); }
  [[nodiscard]] int failedCount() const { return static_cast<int>(failed_.size()); }
  [[nodiscard]] bool hasFailed(const map::TileId& tile) const { return failed_.contains(tile); }

 signals:
  void tileLoaded();
  void tileFailed();
  // Nothing waits or is under way any more.
  void idle();

 private:
  void startRequests();
  void send(const map::TileId& tile, QNetworkRequest::CacheLoadControl control);
  void finished(QNetworkReply* reply);
  void fail(const map::TileId& tile);

  struct InFlight {
    map::TileId tile;
    QNetworkRequest::CacheLoadControl control;
  };

  TileLoaderOptions options_;
  QNetworkAccessManager network_;
  std::deque<map::TileId> queue_;
  std::map<QNetworkReply*, InFlight> replies_;
  std::set<map::TileId> failed_;
  mutable QCache<quint64, QImage> images_;
};

}  // namespace tellurix::tripview

#include "TileLoader.h"

#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

#include "tellurix/Version.h"

namespace tellurix::tripview {
namespace {

constexpr int kMemoryTiles = 256;                        // decoded, about 64 MB
constexpr qint64 kDiskCacheBytes = 256LL * 1024 * 1024;  // the files as the server sent them

quint64 keyOf(const map::TileId& t) {
  return (static_cast<quint64>(t.zoom) << 48) | (static_cast<quint64>(t.x) << 24) | static_cast<quint64>(t.y);
}

}  // namespace

QString defaultTileCacheFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/tellurix/tiles");
}

QByteArray tileUserAgent() {
  return QByteArray("Tellurix/") + kVersion;
}

TileLoader::TileLoader(TileLoaderOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)), images_(kMemoryTiles) {
  auto* cache = new QNetworkDiskCache(&network_);
  cache->setCacheDirectory(options_.cacheFolder);
  cache->setMaximumCacheSize(kDiskCacheBytes);
  network_.setCache(cache);
}

// Replies still under way are aborted with the network; they must not call back into a loader
// that is half gone.
TileLoader::~TileLoader() {
  for (const auto& [reply, inFlight] : replies_) {
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
  }
}

const QImage* TileLoader::tileImage(const map::TileId& tile) const {
  return images_.object(keyOf(tile));
}

void TileLoader::request(const std::vector<map::TileId>& tiles) {
  queue_.clear();
  if (!enabled()) return;
  for (const map::TileId& tile : tiles) {
    if (images_.contains(keyOf(tile)) || failed_.contains(tile)) continue;
    const bool underWay = std::any_of(replies_.begin(), replies_.end(),
                                      [&](const auto& entry) { return entry.second.tile == tile; });
    if (!underWay) queue_.push_back(tile);
  }
  startRequests();
}

void TileLoader::startRequests() {
  while (static_cast<int>(replies_.size()) < options_.maxRequests && !queue_.empty()) {
    const map::TileId tile = queue_.front();
    queue_.pop_front();
    send(tile, QNetworkRequest::PreferNetwork);
  }
}

void TileLoader::send(const map::TileId& tile, QNetworkRequest::CacheLoadControl control) {
  QNetworkRequest request(QUrl(QString::fromStdString(map::tileUrl(options_.urlTemplate, tile))));
  request.setHeader(QNetworkRequest::UserAgentHeader, options_.userAgent);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, control);
  QNetworkReply* reply = network_.get(request);
  replies_[reply] = {tile, control};
  // A server that trickles its bytes must not hold one of the few request slots for ever.
  QTimer::singleShot(options_.timeoutMs, reply, [reply] { reply->abort(); });
  connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
}

void TileLoader::finished(QNetworkReply* reply) {
  reply->deleteLater();
  const auto entry = replies_.find(reply);
  if (entry == replies_.end()) return;
  const InFlight inFlight = entry->second;
  replies_.erase(entry);

  const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
  if (reply->error() == QNetworkReply::NoError) {
    auto image = std::make_unique<QImage>();
    if (image->loadFromData(reply->readAll())) {
      *image = image->convertToFormat(QImage::Format_ARGB32_Premultiplied);
      images_.insert(keyOf(inFlight.tile), image.release());
      emit tileLoaded();
    } else {
      // Bytes that are no image must not come back from the cache either.
      network_.cache()->remove(reply->url());
      fail(inFlight.tile);
    }
  } else if (!answered && inFlight.control != QNetworkRequest::AlwaysCache) {
    // No server reached: a copy seen before, however old, is better than no map offline.
    send(inFlight.tile, QNetworkRequest::AlwaysCache);
    return;
  } else {
    fail(inFlight.tile);
  }
  startRequests();
  if (!busy()) emit idle();
}

void TileLoader::fail(const map::TileId& tile) {
  failed_.insert(tile);
  emit tileFailed();
}

}  // namespace tellurix::tripview

#pragma once

#include <QByteArray>
#include <QColor>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "map/TileGrid.h"

class QTcpSocket;

namespace tellurix::testing {

// A tile server on 127.0.0.1 for the tests: every tile is a plain square of its own colour,
// sent with a day's caching headers; or every request fails in one way.
class TileServer final : public QObject {
 public:
  enum class Mode { Tiles, NotFound, Garbage, Silent };

  explicit TileServer(Mode mode = Mode::Tiles, int delayMs = 0, QByteArray cacheControl = "max-age=86400");
  TileServer(const TileServer&) = delete;
  TileServer& operator=(const TileServer&) = delete;
  ~TileServer() override;

  // "http://127.0.0.1:<port>/{z}/{x}/{y}.png"
  [[nodiscard]] std::string urlTemplate() const;

  struct Request {
    map::TileId tile;
    QByteArray userAgent;
  };
  [[nodiscard]] const std::vector<Request>& requests() const { return requests_; }
  [[nodiscard]] std::set<map::TileId> requestedTiles() const;
  // The most requests that waited for their answer at the same time.
  [[nodiscard]] int mostAtOnce() const { return mostAtOnce_; }

  static QColor colourOf(const map::TileId& tile);

 private:
  void accept();
  void read(QTcpSocket* socket);
  void answer(QTcpSocket* socket, const map::TileId& tile, bool known);

  QTcpServer server_;
  Mode mode_;
  int delayMs_;
  QByteArray cacheControl_;
  std::map<QTcpSocket*, QByteArray> buffers_;
  std::vector<Request> requests_;
  int waiting_ = 0;
  int mostAtOnce_ = 0;
};

}  // namespace tellurix::testing

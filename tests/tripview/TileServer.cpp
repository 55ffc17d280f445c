#include "TileServer.h"

#include <QBuffer>
#include <QImage>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace tellurix::testing {
namespace {

// A PNG signature with no picture after it.
constexpr char kGarbage[] = "\x89PNG\r\n\x1a\n this is not a picture";

QByteArray pngOf(const QColor& colour) {
  QImage image(256, 256, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray response(const QByteArray& status, const QByteArray& type, const QByteArray& body,
                    const QByteArray& cacheControl) {
  return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
         "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nCache-Control: " + cacheControl +
         "\r\nConnection: keep-alive\r\n\r\n" + body;
}

}  // namespace

TileServer::TileServer(Mode mode, int delayMs, QByteArray cacheControl)
    : mode_(mode), delayMs_(delayMs), cacheControl_(std::move(cacheControl)) {
  server_.listen(QHostAddress::LocalHost);
  connect(&server_, &QTcpServer::newConnection, this, &TileServer::accept);
}

// The connections go before the members their handlers use.
TileServer::~TileServer() {
  server_.close();
  for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>()) {
    disconnect(socket, nullptr, this, nullptr);
    delete socket;
  }
}

std::string TileServer::urlTemplate() const {
  return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/{z}/{x}/{y}.png";
}

std::set<map::TileId> TileServer::requestedTiles() const {
  std::set<map::TileId> tiles;
  for (const Request& r : requests_) tiles.insert(r.tile);
  return tiles;
}

QColor TileServer::colourOf(const map::TileId& tile) {
  return {(tile.x * 67 + tile.zoom * 13) % 200 + 30, (tile.y * 97 + tile.zoom * 7) % 200 + 30,
          (tile.x + tile.y) % 2 ? 60 : 220};
}

void TileServer::accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      buffers_.erase(socket);
      socket->deleteLater();
    });
  }
}

// Requests are GET lines with headers and no body, one after another on a kept connection.
void TileServer::read(QTcpSocket* socket) {
  QByteArray& buffer = buffers_[socket];
  buffer += socket->readAll();
  for (qsizetype end = buffer.indexOf("\r\n\r\n"); end >= 0; end = buffer.indexOf("\r\n\r\n")) {
    const QByteArray head = buffer.left(end);
    buffer.remove(0, end + 4);
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> words = lines.front().trimmed().split(' ');
    Request request;
    const QList<QByteArray> parts = words.value(1).split('/');
    bool known = parts.size() == 4 && parts[3].endsWith(".png");
    request.tile = {parts.value(1).toInt(), parts.value(2).toInt(),
                    parts.value(3).chopped(std::min<qsizetype>(4, parts.value(3).size())).toInt()};
    for (const QByteArray& line : lines) {
      if (line.toLower().startsWith("user-agent:")) request.userAgent = line.mid(11).trimmed();
    }
    requests_.push_back(request);
    ++waiting_;
    mostAtOnce_ = std::max(mostAtOnce_, waiting_);
    if (mode_ == Mode::Silent) continue;
    QTimer::singleShot(delayMs_, socket,
                       [this, socket, tile = request.tile, known] { answer(socket, tile, known); });
  }
}

void TileServer::answer(QTcpSocket* socket, const map::TileId& tile, bool known) {
  --waiting_;
  switch (mode_) {
    case Mode::Tiles:
      socket->write(known ? response("200 OK", "image/png", pngOf(colourOf(tile)), cacheControl_)
                          : response("404 Not Found", "text/plain", "no such tile", cacheControl_));
      break;
    case Mode::NotFound:
      socket->write(response("404 Not Found", "text/plain", "no such tile", cacheControl_));
      break;
    case Mode::Garbage:
      socket->write(
          response("200 OK", "image/png", QByteArray(kGarbage, sizeof kGarbage - 1), cacheControl_));
      break;
    case Mode::Silent:
      break;
  }
}

}  // namespace tellurix::testing

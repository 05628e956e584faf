#pragma once

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

// A tile server on 127.0.0.1 that answers every request with one plain
// tile of its colour, standing in for the map's tile server.
class LocalTileServer : public QTcpServer {
 public:
  explicit LocalTileServer(QColor colour) {
    QImage tile(256, 256, QImage::Format_RGB32);
    tile.fill(colour);
    QBuffer png(&m_tile);
    png.open(QIODevice::WriteOnly);
    tile.save(&png, "PNG");
    connect(this, &QTcpServer::newConnection, this, &LocalTileServer::Accept);
    listen(QHostAddress::LocalHost);
  }

  QString UrlTemplate() const {
    return QString("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(serverPort());
  }
  int Requests() const { return m_requests; }

 private:
  void Accept() {
    while (QTcpSocket* socket = nextPendingConnection()) {
      auto request = std::make_shared<QByteArray>();
      connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
        *request += socket->readAll();
        if (!request->contains("\r\n\r\n")) return;
        request->clear();
        ++m_requests;
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\n");
        socket->write("Access-Control-Allow-Origin: *\r\nContent-Length: " +
                      QByteArray::number(m_tile.size()) + "\r\n\r\n");
        socket->write(m_tile);
        socket->disconnectFromHost();
      });
      connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
  }

  QByteArray m_tile;
  int m_requests = 0;
};

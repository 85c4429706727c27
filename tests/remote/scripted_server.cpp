#include "tests/remote/scripted_server.h"

#include <QTcpSocket>

namespace paylark::testing {
namespace {

// The request in buffer once it is whole: its head and as much body as Content-Length says.
std::optional<SeenRequest> WholeRequest(const QByteArray& buffer) {
  const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
  if (headEnd < 0)
    return std::nullopt;
  const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
  const QList<QByteArray> first = lines.front().trimmed().split(' ');
  SeenRequest request{first.value(0), first.value(1), {}, {}};
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const qsizetype colon = lines[i].indexOf(':');
    if (colon > 0)
      request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
  }
  const qsizetype length = request.headers.value("content-length", "0").toLongLong();
  if (buffer.size() < headEnd + 4 + length)
    return std::nullopt;
  request.body = buffer.mid(headEnd + 4, length);
  return request;
}

}  // namespace

ScriptedServer::ScriptedServer(QList<ScriptedAnswer> answers) : answers_(std::move(answers)) {
  server_.listen(QHostAddress::LocalHost);
  connect(&server_, &QTcpServer::newConnection, this, [this] {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
      connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
}

QByteArray ScriptedServer::url(const QByteArray& path) const {
  return "http://127.0.0.1:" + QByteArray::number(server_.serverPort()) + path;
}

void ScriptedServer::Read(QTcpSocket* socket) {
  QByteArray& buffer = pending_[socket];
  buffer += socket->readAll();
  const std::optional<SeenRequest> request = WholeRequest(buffer);
  if (!request)
    return;
  pending_.remove(socket);
  seen_.append(*request);
  const ScriptedAnswer answer = answers_.isEmpty() ? Answer(500) : answers_.takeFirst();
  if (answer.hang)
    return;
  QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) + " Scripted\r\n";
  for (const auto& [name, value] : answer.headers)
    reply += name + ": " + value + "\r\n";
  reply += "Content-Length: " + QByteArray::number(answer.body.size()) +
           "\r\nConnection: close\r\n\r\n" + answer.body;
  socket->write(reply);
  socket->disconnectFromHost();
}

}  // namespace paylark::testing

#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <optional>

class QTcpSocket;

namespace paylark::testing {

// One request as the server read it.
struct SeenRequest {
  QByteArray method;
  QByteArray path;
  QMap<QByteArray, QByteArray> headers;  // names in lower case
  QByteArray body;
};

// An answer the server gives, in the order given; "hang" answers nothing at all.
struct ScriptedAnswer {
  int status = 200;
  QList<QPair<QByteArray, QByteArray>> headers;
  QByteArray body;
  bool hang = false;
};

inline ScriptedAnswer Answer(int status, QByteArray body = {}) {
  return {status, {}, std::move(body), false};
}
inline ScriptedAnswer AnswerWithEtag(int status, const QByteArray& etag) {
  return {status, {{"ETag", etag}}, {}, false};
}
inline ScriptedAnswer NoAnswer() {
  return {0, {}, {}, true};
}

// An HTTP/1.1 server on 127.0.0.1 that answers each request with the next scripted answer and
// closes the connection. It lives on the test's thread: the client's waiting loop serves it.
class ScriptedServer final : public QObject {
  Q_OBJECT

 public:
  explicit ScriptedServer(QList<ScriptedAnswer> answers);

  QByteArray url(const QByteArray& path) const;
  const QList<SeenRequest>& seen() const { return seen_; }

 private:
  void Read(QTcpSocket* socket);

  QTcpServer server_;
  QList<ScriptedAnswer> answers_;
  QList<SeenRequest> seen_;
  QMap<QTcpSocket*, QByteArray> pending_;
};

}  // namespace paylark::testing

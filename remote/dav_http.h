#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QPair>
#include <QString>
#include <QUrl>
#include <chrono>

namespace paylark {

// A server's answer, or why none came.
struct HttpAnswer {
  int status = 0;  // 0 when no answer came
  QByteArray body;
  QByteArray etag;
  QByteArray location;
  QString failure;  // the network's reason when status is 0
};

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

// Sends one request at a time and waits for its answer in a local event loop, so that it runs
// alike on the command line and on a worker thread. Credentials go with every request (HTTP
// Basic); redirects are answered, not followed. No request waits longer than the timeout
// without a byte moving.
class DavHttp final {
 public:
  DavHttp(QString user, const QString& password, std::chrono::milliseconds timeout);
  DavHttp(const DavHttp&) = delete;
  DavHttp& operator=(const DavHttp&) = delete;

  HttpAnswer Send(const QByteArray& verb, const QUrl& url, const HttpHeaders& headers = {},
                  const QByteArray& body = {});

  const QString& user() const { return user_; }

 private:
  QString user_;
  QByteArray authorization_;
  std::chrono::milliseconds timeout_;
  QNetworkAccessManager manager_;
};

}  // namespace paylark

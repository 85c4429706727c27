#include "remote/syncthing_request.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

namespace paylark {
namespace {

bool IsLoopback(const QString& host) {
  return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

// One manager for the thread's requests, kept for the life of the process.
QNetworkAccessManager& Manager() {
  static QNetworkAccessManager* manager = [] {
    auto* made = new QNetworkAccessManager;
    made->setProxy(QNetworkProxy::NoProxy);
    return made;
  }();
  return *manager;
}

SyncthingReply ReplyOf(QNetworkReply& reply) {
  SyncthingReply answer;
  const QNetworkReply::NetworkError error = reply.error();
  answer.body = reply.readAll();
  if (error == QNetworkReply::NoError)
    return answer;
  answer.notRunning =
      error == QNetworkReply::ConnectionRefusedError || error == QNetworkReply::HostNotFoundError;
  const QString said = QString::fromUtf8(answer.body).trimmed();
  answer.failure = said.isEmpty() ? reply.errorString() : said;
  return answer;
}

}  // namespace

void SendSyncthingRequest(const SyncthingFolder& folder, const QString& path,
                          const QByteArray& verb, int timeoutMilliseconds, QObject* receiver,
                          std::function<void(const SyncthingReply&)> done) {
  QUrl url(QString::fromStdString(folder.address) + path);
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("folder"), QString::fromStdString(folder.folderId));
  url.setQuery(query);
  QNetworkRequest request(url);
  request.setRawHeader("X-API-Key", QByteArray::fromStdString(folder.apiKey));
  request.setTransferTimeout(timeoutMilliseconds);
  QNetworkReply* reply = Manager().sendCustomRequest(request, verb);
  if (IsLoopback(url.host())) {
    QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                     [reply](const QList<QSslError>&) { reply->ignoreSslErrors(); });
  }
  // The reply goes even when the receiver went first.
  QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
  QObject::connect(reply, &QNetworkReply::finished, receiver,
                   [reply, done = std::move(done)] { done(ReplyOf(*reply)); });
}

}  // namespace paylark

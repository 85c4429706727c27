#include "ui/sync/syncthing_rescan.h"

#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

namespace paylark {
namespace {

constexpr int kPollMilliseconds = 250;
constexpr int kMostPolls = 120;  // 30 seconds of syncing; later changes reach the folder watch
// A scan answers when it is done, which takes a while on a large folder.
constexpr int kScanTimeoutMilliseconds = 120 * 1000;
constexpr int kStatusTimeoutMilliseconds = 10 * 1000;

bool IsLoopback(const QString& host) {
  return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

}  // namespace

SyncthingRescan::SyncthingRescan(QObject* parent) : QObject(parent) {
  // Syncthing runs on this machine: a proxy from the environment must not stand in between.
  network_.setProxy(QNetworkProxy::NoProxy);
  poll_.setSingleShot(true);
  poll_.setInterval(kPollMilliseconds);
  connect(&poll_, &QTimer::timeout, this, &SyncthingRescan::AskStatus);
}

void SyncthingRescan::Start(const SyncthingFolder& folder) {
  folder_ = folder;
  polls_ = 0;
  running_ = true;
  QNetworkReply* reply = Send(QStringLiteral("/rest/db/scan"), "POST");
  connect(reply, &QNetworkReply::finished, this, [this, reply] { Scanned(reply); });
}

QNetworkReply* SyncthingRescan::Send(const QString& path, const QByteArray& verb) {
  QUrl url(QString::fromStdString(folder_.address) + path);
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("folder"), QString::fromStdString(folder_.folderId));
  url.setQuery(query);
  QNetworkRequest request(url);
  request.setRawHeader("X-API-Key", QByteArray::fromStdString(folder_.apiKey));
  request.setTransferTimeout(verb == "POST" ? kScanTimeoutMilliseconds
                                            : kStatusTimeoutMilliseconds);
  QNetworkReply* reply = network_.sendCustomRequest(request, verb);
  // Syncthing's own GUI certificate is self-signed; it is trusted only on this machine.
  if (IsLoopback(url.host())) {
    connect(reply, &QNetworkReply::sslErrors, reply,
            [reply](const QList<QSslError>&) { reply->ignoreSslErrors(); });
  }
  return reply;
}

void SyncthingRescan::Scanned(QNetworkReply* reply) {
  reply->deleteLater();
  const QNetworkReply::NetworkError error = reply->error();
  if (error == QNetworkReply::ConnectionRefusedError || error == QNetworkReply::HostNotFoundError) {
    Finish(Outcome::kNotRunning);
  } else if (error != QNetworkReply::NoError) {
    const QString answer = QString::fromUtf8(reply->readAll()).trimmed();
    Finish(Outcome::kFailed, answer.isEmpty() ? reply->errorString() : answer);
  } else {
    AskStatus();
  }
}

void SyncthingRescan::AskStatus() {
  QNetworkReply* reply = Send(QStringLiteral("/rest/db/status"), "GET");
  connect(reply, &QNetworkReply::finished, this, [this, reply] { StatusArrived(reply); });
}

void SyncthingRescan::StatusArrived(QNetworkReply* reply) {
  reply->deleteLater();
  if (reply->error() != QNetworkReply::NoError) {
    Finish(Outcome::kFailed, reply->errorString());
    return;
  }
  const QJsonObject status = QJsonDocument::fromJson(reply->readAll()).object();
  if (status.value(QStringLiteral("state")).toString() == QLatin1String("idle") ||
      ++polls_ >= kMostPolls) {
    Finish(Outcome::kIdle);
  } else {
    poll_.start();
  }
}

void SyncthingRescan::Finish(Outcome outcome, const QString& problem) {
  running_ = false;
  emit Finished(outcome, problem);
}

}  // namespace paylark

#include "remote/push_notifier.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include "remote/dav_http.h"

namespace paylark {
namespace {

constexpr int kNtfyHigh = 4;
constexpr int kNtfyDefault = 3;
constexpr int kGotifyHigh = 8;
constexpr int kGotifyDefault = 5;

bool IsGotify(const QUrl& url) {
  return url.path().endsWith(QStringLiteral("/message"));
}

}  // namespace

Status PostPush(const QString& url, const QString& token, const PushMessage& message,
                std::chrono::milliseconds timeout) {
  const QUrl given(url);
  if (!given.isValid() || given.path().isEmpty() ||
      (given.scheme() != QLatin1String("http") && given.scheme() != QLatin1String("https"))) {
    return Status::InvalidArgument(
        QStringLiteral("The push address \"%1\" is neither an ntfy topic nor a Gotify /message "
                       "address.")
            .arg(url)
            .toStdString());
  }
  QJsonObject json{{QStringLiteral("title"), message.title},
                   {QStringLiteral("message"), message.body}};
  HttpHeaders headers = {{"Content-Type", "application/json"}};
  QUrl target = given;
  if (IsGotify(given)) {
    json[QStringLiteral("priority")] = message.urgent ? kGotifyHigh : kGotifyDefault;
    if (!token.isEmpty())
      headers.append({QByteArray("X-Gotify-Key"), QByteArray(token.toUtf8())});
  } else {
    // ntfy takes JSON at the server's root, with the topic inside: the title keeps its accents.
    QString path = given.path();
    if (path.endsWith(QLatin1Char('/')))
      path.chop(1);
    json[QStringLiteral("topic")] = path.section(QLatin1Char('/'), -1);
    json[QStringLiteral("priority")] = message.urgent ? kNtfyHigh : kNtfyDefault;
    target.setPath(path.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/'));
    if (!token.isEmpty())
      headers.append({QByteArray("Authorization"), QByteArray("Bearer " + token.toUtf8())});
  }
  DavHttp http({}, {}, timeout);
  const HttpAnswer answer =
      http.Send("POST", target, headers, QJsonDocument(json).toJson(QJsonDocument::Compact));
  if (answer.status >= 200 && answer.status < 300)
    return Status::Ok();
  if (answer.status == 0) {
    return Status::IoError(QStringLiteral("The push server %1 could not be reached: %2.")
                               .arg(given.host(), answer.failure)
                               .toStdString());
  }
  return Status::IoError(QStringLiteral("The push server %1 refused the notification (HTTP %2)%3.")
                             .arg(given.host())
                             .arg(answer.status)
                             .arg(answer.status == 401 || answer.status == 403
                                      ? QStringLiteral(": check the token")
                                      : QString())
                             .toStdString());
}

}  // namespace paylark

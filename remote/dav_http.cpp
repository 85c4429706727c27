#include "remote/dav_http.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace paylark {

DavHttp::DavHttp(QString user, const QString& password, std::chrono::milliseconds timeout)
    : user_(std::move(user)), timeout_(timeout) {
  if (!user_.isEmpty())
    authorization_ = "Basic " + (user_ + QLatin1Char(':') + password).toUtf8().toBase64();
}

HttpAnswer DavHttp::Send(const QByteArray& verb, const QUrl& url, const HttpHeaders& headers,
                         const QByteArray& body) {
  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
  request.setTransferTimeout(static_cast<int>(timeout_.count()));
  request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Paylark"));
  if (!authorization_.isEmpty())
    request.setRawHeader("Authorization", authorization_);
  for (const auto& [name, value] : headers)
    request.setRawHeader(name, value);
  QNetworkReply* reply = manager_.sendCustomRequest(request, verb, body);
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  // A server that takes bytes slowly but never answers still ends the wait.
  QTimer::singleShot(timeout_ * 4, reply, &QNetworkReply::abort);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  HttpAnswer answer;
  answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (reply->isOpen())
    answer.body = reply->readAll();
  answer.etag = reply->rawHeader("ETag");
  answer.location = reply->rawHeader("Location");
  if (answer.status == 0) {
    answer.failure =
        reply->error() == QNetworkReply::OperationCanceledError ||
                reply->error() == QNetworkReply::TimeoutError
            ? QStringLiteral("no answer within %1 seconds")
                  .arg(std::chrono::duration_cast<std::chrono::seconds>(timeout_).count())
            : reply->errorString();
  }
  reply->deleteLater();
  return answer;
}

}  // namespace paylark

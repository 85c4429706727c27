#include "remote/secret_store.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

#include "remote/secret_file.h"

namespace paylark {
namespace {

constexpr char kService[] = "org.paylark.Paylark";

Status Unavailable(const QKeychain::Job& job) {
  if (job.error() == QKeychain::EntryNotFound) {
    return Status::NotFound(
        "No password is stored for this server: enter it in Preferences > Calendar, or name a "
        "password file (mode 0600).");
  }
  return Status::IoError(
      QStringLiteral("The desktop's secret service could not be asked (%1): name a password "
                     "file (mode 0600) instead.")
          .arg(job.errorString())
          .toStdString());
}

}  // namespace

void ReadSecretLater(const SecretSource& source, QObject* receiver,
                     std::function<void(const Result<QString>&)> done) {
  if (!source.file.isEmpty()) {
    done(ReadSecretFile(source.file));
    return;
  }
  auto* job = new QKeychain::ReadPasswordJob(QString::fromLatin1(kService), receiver);
  job->setKey(source.key);
  QObject::connect(job, &QKeychain::Job::finished, receiver,
                   [done = std::move(done)](QKeychain::Job* finished) {
                     if (finished->error() == QKeychain::NoError)
                       done(static_cast<QKeychain::ReadPasswordJob*>(finished)->textData());
                     else
                       done(Unavailable(*finished));
                   });
  job->start();
}

Result<QString> ReadSecret(const SecretSource& source) {
  if (!source.file.isEmpty())
    return ReadSecretFile(source.file);
  QObject owner;
  QEventLoop loop;
  Result<QString> secret = Status::NotFound("No answer came from the secret service.");
  bool answered = false;
  ReadSecretLater(source, &owner, [&](const Result<QString>& read) {
    secret = read;
    answered = true;
    loop.quit();
  });
  if (!answered)
    loop.exec();
  return secret;
}

void StoreSecretLater(const QString& key, const QString& secret, QObject* receiver,
                      std::function<void(const Status&)> done) {
  auto* job = new QKeychain::WritePasswordJob(QString::fromLatin1(kService), receiver);
  job->setKey(key);
  job->setTextData(secret);
  QObject::connect(
      job, &QKeychain::Job::finished, receiver, [done = std::move(done)](QKeychain::Job* finished) {
        done(finished->error() == QKeychain::NoError ? Status::Ok() : Unavailable(*finished));
      });
  job->start();
}

}  // namespace paylark

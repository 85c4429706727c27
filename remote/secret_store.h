#pragma once

#include <QString>
#include <functional>

#include "core/base/status.h"

class QObject;

namespace paylark {

// Where a password or token lives: a file the user names (mode 0600), else the desktop's secret
// service (through QtKeychain) under key.
struct SecretSource {
  QString file;
  QString key;
};

// The keys under which Paylark keeps its secrets in the secret service.
inline QString CalDavSecretKey(const QString& url, const QString& user) {
  return QStringLiteral("caldav %1 %2").arg(user, url);
}
inline QString PushSecretKey(const QString& url) {
  return QStringLiteral("push %1").arg(url);
}

// Reads the secret and waits for it: for the command line. A secret service that does not run
// or holds nothing under the key is a failure that says so.
Result<QString> ReadSecret(const SecretSource& source);
// Reads the secret and hands it to done on receiver's thread, without waiting.
void ReadSecretLater(const SecretSource& source, QObject* receiver,
                     std::function<void(const Result<QString>&)> done);
// Stores the secret in the secret service and hands done the outcome, without waiting.
void StoreSecretLater(const QString& key, const QString& secret, QObject* receiver,
                      std::function<void(const Status&)> done);

}  // namespace paylark

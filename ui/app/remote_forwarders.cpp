// The program's definitions of the module's functions: each loads the module on first use and
// calls the module's own. When the module cannot be loaded, what waits for an answer is told why,
// later, as the module would have told it.
#include <QTimer>

#include "ui/app/remote_module.h"

namespace paylark {

CalendarSyncReport SyncCalendar(const std::vector<CalDavEvent>& wanted,
                                const CalendarSyncRequest& request) {
  const Result<const RemoteModule*> module = LoadRemoteModule();
  if (module.ok())
    return module.value()->syncCalendar(wanted, request);
  CalendarSyncReport report;
  report.failure = QString::fromStdString(module.status().message());
  return report;
}

void ReadSecretLater(const SecretSource& source, QObject* receiver,
                     std::function<void(const Result<QString>&)> done) {
  const Result<const RemoteModule*> module = LoadRemoteModule();
  if (module.ok()) {
    module.value()->readSecretLater(source, receiver, std::move(done));
    return;
  }
  QTimer::singleShot(0, receiver, [done = std::move(done), status = module.status()] {
    done(Result<QString>(status));
  });
}

void StoreSecretLater(const QString& key, const QString& secret, QObject* receiver,
                      std::function<void(const Status&)> done) {
  const Result<const RemoteModule*> module = LoadRemoteModule();
  if (module.ok()) {
    module.value()->storeSecretLater(key, secret, receiver, std::move(done));
    return;
  }
  QTimer::singleShot(0, receiver,
                     [done = std::move(done), status = module.status()] { done(status); });
}

void SendSyncthingRequest(const SyncthingFolder& folder, const QString& path,
                          const QByteArray& verb, int timeoutMilliseconds, QObject* receiver,
                          std::function<void(const SyncthingReply&)> done) {
  const Result<const RemoteModule*> module = LoadRemoteModule();
  if (module.ok()) {
    module.value()->sendSyncthingRequest(folder, path, verb, timeoutMilliseconds, receiver,
                                         std::move(done));
    return;
  }
  SyncthingReply reply;
  reply.failure = QString::fromStdString(module.status().message());
  QTimer::singleShot(0, receiver, [done = std::move(done), reply] { done(reply); });
}

}  // namespace paylark

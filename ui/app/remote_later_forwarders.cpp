// The window's definitions of the module's functions that answer later: each loads the module on
// first use and calls the module's own. When the module cannot be loaded, what waits for an answer
// is told why, as the module would have told it.
#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

#include "remote/remote_module.h"

namespace paylark {
namespace {

// Hands the module to `use` on receiver's thread. A function that answers later need not hold
// its caller (the window) while the module's libraries load: they load on a worker.
void WithModule(QObject* receiver, std::function<void(const Result<const RemoteModule*>&)> use) {
  QtConcurrent::run(LoadRemoteModule).then(receiver, std::move(use));
}

}  // namespace

void ReadSecretLater(const SecretSource& source, QObject* receiver,
                     std::function<void(const Result<QString>&)> done) {
  WithModule(receiver, [source, receiver,
                        done = std::move(done)](const Result<const RemoteModule*>& module) mutable {
    if (module.ok())
      module.value()->readSecretLater(source, receiver, std::move(done));
    else
      done(Result<QString>(module.status()));
  });
}

void StoreSecretLater(const QString& key, const QString& secret, QObject* receiver,
                      std::function<void(const Status&)> done) {
  WithModule(receiver, [key, secret, receiver,
                        done = std::move(done)](const Result<const RemoteModule*>& module) mutable {
    if (module.ok())
      module.value()->storeSecretLater(key, secret, receiver, std::move(done));
    else
      done(module.status());
  });
}

void SendSyncthingRequest(const SyncthingFolder& folder, const QString& path,
                          const QByteArray& verb, int timeoutMilliseconds, QObject* receiver,
                          std::function<void(const SyncthingReply&)> done) {
  WithModule(receiver,
             [=, done = std::move(done)](const Result<const RemoteModule*>& module) mutable {
               if (module.ok()) {
                 module.value()->sendSyncthingRequest(folder, path, verb, timeoutMilliseconds,
                                                      receiver, std::move(done));
                 return;
               }
               SyncthingReply reply;
               reply.failure = QString::fromStdString(module.status().message());
               done(reply);
             });
}

}  // namespace paylark

#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

#include "core/base/status.h"
#include "core/modules/module_loading.h"
#include "remote/calendar_sync.h"
#include "remote/secret_store.h"
#include "remote/syncthing_request.h"

class QObject;

namespace paylark {

// What reaches servers (the CalDAV calendar, the secret service, a running Syncthing) as a module
// of its own, with Qt Network, QtKeychain and the libraries behind them. paylark loads it the
// first time a server is reached, so that none of those libraries is mapped, relocated and
// initialised at its start. Its copies of these functions call the module's through this table.
struct RemoteModule {
  std::size_t size;  // sizeof(RemoteModule) where the module was built
  CalendarSyncReport (*syncCalendar)(const std::vector<CalDavEvent>& wanted,
                                     const CalendarSyncRequest& request);
  void (*readSecretLater)(const SecretSource& source, QObject* receiver,
                          std::function<void(const Result<QString>&)> done);
  void (*storeSecretLater)(const QString& key, const QString& secret, QObject* receiver,
                           std::function<void(const Status&)> done);
  void (*sendSyncthingRequest)(const SyncthingFolder& folder, const QString& path,
                               const QByteArray& verb, int timeoutMilliseconds, QObject* receiver,
                               std::function<void(const SyncthingReply&)> done);
};

// The module's file, its entry and its table's size.
extern const ModuleDescription kRemoteModule;

// The module's table, loaded on the first call (from beside the executable, else from where it
// is installed) and kept for the life of the process; an IoError that says why it could not be
// loaded, on every call.
Result<const RemoteModule*> LoadRemoteModule();

}  // namespace paylark

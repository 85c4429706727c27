#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

#include "core/base/status.h"
#include "core/modules/module_loading.h"
#include "remote/calendar_sync.h"
#include "remote/desktop_notification.h"
#include "remote/push_notifier.h"
#include "remote/secret_store.h"
#include "remote/syncthing_request.h"

class QObject;

namespace paylark {

// What reaches servers (the CalDAV calendar, the secret service, a push service, a running
// Syncthing) and the desktop's notifications as a module of its own, with Qt Network, QtKeychain,
// Qt D-Bus and the libraries behind them. paylark and paylark-cli load it the first time one is
// reached, so that none of those libraries is mapped, relocated and initialised at their start.
// Their copies of these functions call the module's through this table.
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
  Result<QString> (*readSecret)(const SecretSource& source);
  Status (*postPush)(const QString& url, const QString& token, const PushMessage& message,
                     std::chrono::milliseconds timeout);
  NotificationAnswer (*showNotification)(const Notification& notification, int waitSeconds);
};

// The module's file, its entry and its table's size.
extern const ModuleDescription kRemoteModule;

// The module's table, loaded on the first call (from beside the executable, else from where it
// is installed) and kept for the life of the process; an IoError that says why it could not be
// loaded, on every call.
Result<const RemoteModule*> LoadRemoteModule();

}  // namespace paylark

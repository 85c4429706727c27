// The programs' definitions of the module's functions that answer at once: each loads the module
// on first use and calls the module's own. When the module cannot be loaded, the answer says why.
#include "remote/remote_module.h"

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

Result<QString> ReadSecret(const SecretSource& source) {
  PAYLARK_TRY_ASSIGN(const RemoteModule* module, LoadRemoteModule());
  return module->readSecret(source);
}

Status PostPush(const QString& url, const QString& token, const PushMessage& message,
                std::chrono::milliseconds timeout) {
  PAYLARK_TRY_ASSIGN(const RemoteModule* module, LoadRemoteModule());
  return module->postPush(url, token, message, timeout);
}

NotificationAnswer ShowNotification(const Notification& notification, int waitSeconds) {
  const Result<const RemoteModule*> module = LoadRemoteModule();
  if (module.ok())
    return module.value()->showNotification(notification, waitSeconds);
  return {NotificationOutcome::kNoServer, {}, module.status().message(), 0};
}

}  // namespace paylark

#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "core/sync/syncthing_config.h"

class QObject;

namespace paylark {

// What Syncthing's REST API answered one request.
struct SyncthingReply {
  bool notRunning = false;  // nothing answers at the GUI address
  QString failure;          // set when the request failed: Syncthing's own answer, or why
  QByteArray body;
};

// Sends `verb` to `path` (such as "/rest/db/scan") for the folder, with its API key, and hands
// the reply to done on receiver's thread, without waiting; the request ends after
// timeoutMilliseconds. Syncthing runs on this machine: no proxy stands in between, and its own
// self-signed certificate is trusted when the address is a loopback one. For the thread that
// runs an event loop.
void SendSyncthingRequest(const SyncthingFolder& folder, const QString& path,
                          const QByteArray& verb, int timeoutMilliseconds, QObject* receiver,
                          std::function<void(const SyncthingReply&)> done);

}  // namespace paylark

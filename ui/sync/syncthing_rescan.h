#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "core/sync/syncthing_config.h"
#include "remote/syncthing_request.h"

namespace paylark {

// Asks a running Syncthing, through its REST API, to rescan one of its folders
// (POST /rest/db/scan), then waits until it reports the folder idle (GET /rest/db/status).
// Never blocks: Finished follows every Start exactly once.
class SyncthingRescan final : public QObject {
  Q_OBJECT

 public:
  enum class Outcome {
    kIdle,        // rescanned; idle, or still busy after a while (later changes arrive anyway)
    kNotRunning,  // nothing answers at the GUI address
    kFailed,      // Syncthing answered with an error; the problem says which
  };
  Q_ENUM(Outcome)

  explicit SyncthingRescan(QObject* parent = nullptr);

  void Start(const SyncthingFolder& folder);
  bool running() const { return running_; }

 signals:
  void Finished(SyncthingRescan::Outcome outcome, const QString& problem);

 private:
  void Scanned(const SyncthingReply& reply);
  void AskStatus();
  void StatusArrived(const SyncthingReply& reply);
  void Finish(Outcome outcome, const QString& problem = {});

  QTimer poll_;
  SyncthingFolder folder_;
  int polls_ = 0;
  bool running_ = false;
};

}  // namespace paylark

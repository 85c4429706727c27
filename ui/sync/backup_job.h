#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <thread>

#include "core/base/clock.h"
#include "core/base/status.h"
#include "core/io/file_system.h"

namespace paylark {

// Takes a backup of a working directory's records on a thread of its own: zipping every record
// file of a large folder takes seconds, which a start must not wait for. One at a time.
class BackupJob final : public QObject {
  Q_OBJECT

 public:
  explicit BackupJob(QObject* parent = nullptr);
  // Stops a backup being taken, which leaves no file behind.
  ~BackupJob() override;

  // Begins the backup unless one is being taken; the clock's time now names it. The files are
  // used from the job's own thread.
  void Start(FileSystem& files, const std::string& workingDirectory, const Clock& clock, int keep);
  bool running() const { return thread_.joinable(); }
  // Waits for the backup being taken; Failed follows if it could not be taken.
  void Finish();

 signals:
  void Failed(const QString& reason);

 private:
  void Conclude();

  Result<std::string> result_;
  std::jthread thread_;
};

}  // namespace paylark

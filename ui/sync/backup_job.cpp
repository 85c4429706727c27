#include "ui/sync/backup_job.h"

#include "core/base/background_priority.h"
#include "core/sync/backups.h"
#include "ui/base/start_timeline.h"

namespace paylark {

BackupJob::BackupJob(QObject* parent) : QObject(parent), result_(Status::NotFound("no backup")) {}

BackupJob::~BackupJob() = default;

void BackupJob::Start(FileSystem& files, const std::string& workingDirectory, const Clock& clock,
                      int keep) {
  if (running())
    return;
  thread_ = std::jthread(
      [this, &files, workingDirectory, at = FixedClock(clock.Now()), keep](std::stop_token stop) {
        RunBehindTheWindow();
        Result<TakenBackup> taken =
            TakeBackup(files, workingDirectory, at, keep, {{}, std::move(stop)});
        result_ = taken.ok() ? Result<std::string>(taken.value().path) : taken.status();
        MarkStart("backup taken");
        QMetaObject::invokeMethod(this, &BackupJob::Conclude, Qt::QueuedConnection);
      });
}

void BackupJob::Finish() {
  Conclude();
}

// Once per backup: after a Finish, the thread's own call finds nothing left to do.
void BackupJob::Conclude() {
  if (!thread_.joinable())
    return;
  thread_.join();
  if (!result_.ok())
    emit Failed(QString::fromStdString(result_.status().message()));
}

}  // namespace paylark

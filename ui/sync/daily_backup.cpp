#include "ui/sync/daily_backup.h"

#include <QTimer>

#include "core/base/messages.h"
#include "core/sync/backups.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"
#include "ui/base/wait_cursor.h"
#include "ui/sync/backup_job.h"

namespace paylark {
namespace {

constexpr int kDailyCheckMilliseconds = 10 * 60 * 1000;

}  // namespace

DailyBackup::DailyBackup(PaylarkApp& app, QObject* parent)
    : QObject(parent), app_(app), job_(new BackupJob(this)) {
  connect(job_, &BackupJob::Failed, this, [this](const QString& reason) {
    emit Failed(QString::fromStdString(
        MessageText(Message{MessageId::kBackupFailed, {}, 0, reason.toStdString()})));
  });
  auto* daily = new QTimer(this);
  connect(daily, &QTimer::timeout, this, &DailyBackup::Start);
  daily->start(kDailyCheckMilliseconds);
}

void DailyBackup::Start() {
  if (app_.workingDirectory().empty() || app_.store().map().size() == 0 || job_->running())
    return;
  if (HasBackupOfToday(BackupsFolder(app_.workingDirectory()), app_.clock(), app_.store().files()))
    return;
  job_->Start(app_.store().files(), app_.workingDirectory(), app_.clock(),
              UserSettings::Read(settings::kBackupsKept));
}

void DailyBackup::TakeBeforeChange() {
  Finish();  // it may be another working directory's
  Start();
  Finish();
}

void DailyBackup::Finish() {
  if (!job_->running())
    return;
  WaitCursor wait;
  job_->Finish();
}

}  // namespace paylark

#include "ui/app/sync_wiring.h"

#include <QAction>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include "core/base/messages.h"
#include "core/base/setting_keys.h"
#include "core/sync/backups.h"
#include "core/sync/conflicts.h"
#include "core/sync/sync_file_names.h"
#include "ui/base/paylark_app.h"
#include "ui/base/start_load.h"
#include "ui/base/wait_cursor.h"
#include "ui/shell/commands.h"
#include "ui/shell/main_window.h"
#include "ui/sync/backup_job.h"
#include "ui/sync/conflict_resolver_dialog.h"
#include "ui/sync/folder_watcher.h"
#include "ui/sync/syncthing_config_reader.h"
#include "ui/sync/syncthing_rescan.h"

namespace paylark {
namespace {

constexpr int kDailyCheckMilliseconds = 10 * 60 * 1000;

QMenu* FileMenu(MainWindow& window) {
  for (QAction* action : window.menuBar()->actions()) {
    if (action->menu() && action->text() == QStringLiteral("&File"))
      return action->menu();
  }
  return nullptr;
}

}  // namespace

int BackupsKeptSetting() {
  const int keep =
      QSettings().value(QLatin1String(settings::kBackupsKept), kDefaultBackupsKept).toInt();
  return keep > 0 ? keep : kDefaultBackupsKept;
}

SyncWiring::SyncWiring(PaylarkApp& app, MainWindow& window)
    : QObject(&window),
      app_(app),
      window_(window),
      watcher_(new FolderWatcher(this)),
      conflicts_(new QPushButton(&window)),
      daily_(new QTimer(this)),
      rescan_(new SyncthingRescan(this)),
      backup_(new BackupJob(this)) {
  conflicts_->setObjectName(QStringLiteral("syncConflicts"));
  conflicts_->setFlat(true);
  conflicts_->setCursor(Qt::PointingHandCursor);
  conflicts_->setStyleSheet(QStringLiteral("color: #a03000; font-weight: bold;"));
  window.statusBar()->addWidget(conflicts_);
  connect(conflicts_, &QPushButton::clicked, this, &SyncWiring::OpenResolver);
  connect(watcher_, &FolderWatcher::FilesChanged, this, &SyncWiring::ReloadFiles);
  connect(watcher_, &FolderWatcher::FolderChanged, this, &SyncWiring::ReloadFolder);
  // Runs after the window's own handler has switched folders.
  connect(window.commands().changeDirectory, &QAction::triggered, this,
          &SyncWiring::WatchWorkingDirectory);
  connect(daily_, &QTimer::timeout, this, &SyncWiring::StartDailyBackup);
  connect(backup_, &BackupJob::Failed, this, [this](const QString& reason) {
    window_.ShowNote(QStringLiteral("No backup was taken: ") + reason);
  });
  daily_->start(kDailyCheckMilliseconds);
  window.SetSynchronizer([this] { Synchronize(); });
  // The day's backup comes before its first change, also when the day began with the window open.
  window.SetBeforeChange([this] { BeforeChange(); });
  connect(rescan_, &SyncthingRescan::Finished, this, &SyncWiring::RescanFinished);

  if (QMenu* file = FileMenu(window)) {
    auto* restore = new QAction(QStringLiteral("Restore from &Backup..."), this);
    restore->setObjectName(QStringLiteral("restoreBackup"));
    connect(restore, &QAction::triggered, this, &SyncWiring::RestoreFromBackup);
    const QList<QAction*> actions = file->actions();
    file->insertAction(actions.isEmpty() ? nullptr : actions.last(), restore);
  }
  WatchWorkingDirectory();
  StartDailyBackup();
}

// Follows a load of the working directory, which has found its conflict copies.
void SyncWiring::WatchWorkingDirectory() {
  watcher_->Watch(app_.workingDirectory().empty()
                      ? QString()
                      : QString::fromStdString(app_.store().RecordsFolder()));
  ShowLoadedConflicts();
}

void SyncWiring::ReloadFiles(const std::vector<std::string>& fileNames) {
  const ReloadReport report = app_.store().ReloadFiles(fileNames);
  window_.RefreshKeepingSelection();
  if (!report.skipped.empty()) {
    window_.ShowNote(
        QString::fromStdString(MessageText(Message{MessageId::kRecordFilesUnreadable,
                                                   {},
                                                   static_cast<long long>(report.skipped.size()),
                                                   {}})));
  }
  for (const std::string& name : fileNames) {
    if (ClassifyFileName(name).kind == SyncFileKind::kConflictCopy) {
      UpdateConflicts();
      break;
    }
  }
}

void SyncWiring::ReloadFolder() {
  window_.ShowNote(app_.Reload(&window_));
  window_.RefreshKeepingSelection();
  ShowLoadedConflicts();
}

void SyncWiring::FollowStart(StartLoad& load) {
  start_ = &load;
  connect(&load, &StartLoad::Checked, this, [this](bool reloaded, const QString& note) {
    if (reloaded || !note.isEmpty())
      window_.ShowNote(note);
    if (reloaded)
      window_.RefreshKeepingSelection();
    ShowLoadedConflicts();
  });
  load.Check(&window_);
}

void SyncWiring::UpdateConflicts() {
  std::size_t count = 0;
  if (!app_.workingDirectory().empty()) {
    auto found = FindConflicts(app_.store().RecordsFolder());
    count = found.ok() ? found.value().size() : 0;
  }
  ShowConflicts(count);
}

// The conflict copies the store's last load found: no second pass over the folder.
void SyncWiring::ShowLoadedConflicts() {
  ShowConflicts(CountConflicts(app_.store().conflictCopies()));
}

void SyncWiring::ShowConflicts(std::size_t count) {
  conflicts_->setText(QString::fromStdString(
      MessageText(Message{MessageId::kSyncConflicts, {}, static_cast<long long>(count), {}})));
  conflicts_->setVisible(count > 0);
}

void SyncWiring::OpenResolver() {
  BeforeChange();
  ConflictResolverDialog resolver(app_.store(), BackupsFolder(app_.workingDirectory()), &window_);
  connect(&resolver, &ConflictResolverDialog::Resolved, &window_,
          &MainWindow::RefreshKeepingSelection);
  resolver.exec();
  watcher_->CheckNow();
  UpdateConflicts();
}

void SyncWiring::BeforeChange() {
  if (start_)
    start_->Finish();
  BackUpOncePerDay();
}

void SyncWiring::BackUpOncePerDay() {
  FinishBackup();  // it may be another working directory's
  StartDailyBackup();
  FinishBackup();
}

void SyncWiring::FinishBackup() {
  if (!backup_->running())
    return;
  WaitCursor wait;
  backup_->Finish();
}

void SyncWiring::StartDailyBackup() {
  if (app_.workingDirectory().empty() || app_.store().size() == 0 || backup_->running())
    return;
  if (HasBackupOfToday(BackupsFolder(app_.workingDirectory()), app_.clock()))
    return;
  backup_->Start(app_.workingDirectory(), app_.clock(), BackupsKeptSetting());
}

void SyncWiring::Synchronize() {
  if (rescan_->running())
    return;
  const std::optional<SyncthingFolder> folder =
      app_.workingDirectory().empty() ? std::nullopt
                                      : FindSyncthingFolder(app_.store().RecordsFolder());
  if (!folder) {
    window_.SynchronizeLocally();
    return;
  }
  window_.ShowNote(QString::fromStdString(MessageText(MessageId::kSyncthingRescanning)));
  rescan_->Start(*folder);
}

void SyncWiring::RescanFinished(SyncthingRescan::Outcome outcome, const QString& problem) {
  if (outcome == SyncthingRescan::Outcome::kNotRunning) {
    window_.SynchronizeLocally();
    return;
  }
  window_.ReloadAll();
  UpdateConflicts();
  if (outcome == SyncthingRescan::Outcome::kFailed) {
    app_.prompt().Tell(&window_,
                       QString::fromStdString(MessageText(
                           Message{MessageId::kSyncthingFailed, {}, 0, problem.toStdString()})),
                       PromptIcon::kWarning);
  }
}

void SyncWiring::RestoreFromBackup() {
  FinishBackup();
  const std::string folder = BackupsFolder(app_.workingDirectory());
  const std::vector<std::string> backups = ListBackups(folder);
  if (backups.empty()) {
    app_.prompt().Tell(&window_,
                       QStringLiteral("There is no backup of this working directory yet."));
    return;
  }
  QStringList items;
  for (const std::string& path : backups) {
    const auto records = ReadBackup(path);
    const QString name = QFileInfo(QString::fromStdString(path)).completeBaseName();
    items << (records.ok() ? QStringLiteral("%1 (%2 dues)").arg(name).arg(records.value().size())
                           : QStringLiteral("%1 (damaged)").arg(name));
  }
  bool chosen = false;
  const QString item = QInputDialog::getItem(&window_, QStringLiteral("Restore from Backup"),
                                             QStringLiteral("Replace every due with those of:"),
                                             items, 0, false, &chosen);
  if (!chosen)
    return;
  const std::string path = backups[static_cast<std::size_t>(items.indexOf(item))];
  const Status status = RestoreBackup(app_.store(), app_.clock(), path, BackupsKeptSetting());
  if (!status.ok()) {
    app_.prompt().Tell(&window_,
                       QString::fromStdString("Nothing was restored: " + status.message()),
                       PromptIcon::kWarning);
  }
  watcher_->CheckNow();
  window_.RefreshKeepingSelection();
  UpdateConflicts();
}

}  // namespace paylark

#include "ui/sync/sync_commands.h"

#include <QAction>
#include <QPushButton>

#include "core/base/messages.h"
#include "core/records/sync_file_names.h"
#include "core/sync/backups.h"
#include "core/sync/conflicts.h"
#include "ui/base/paylark_app.h"
#include "ui/base/start_load.h"
#include "ui/base/start_timeline.h"
#include "ui/shell/commands.h"
#include "ui/shell/main_window.h"
#include "ui/sync/conflict_resolver_dialog.h"
#include "ui/sync/daily_backup.h"
#include "ui/sync/folder_watcher.h"
#include "ui/sync/restore_flow.h"
#include "ui/sync/syncthing_config_reader.h"
#include "ui/sync/syncthing_rescan.h"

namespace paylark {

SyncCommands::SyncCommands(PaylarkApp& app, MainWindow& window, FolderWatcher& watcher)
    : QObject(&window),
      app_(app),
      window_(window),
      watcher_(&watcher),
      conflicts_(new QPushButton(&window)),
      rescan_(new SyncthingRescan(this)),
      backup_(new DailyBackup(app, this)) {
  conflicts_->setObjectName(QStringLiteral("syncConflicts"));
  conflicts_->setFlat(true);
  conflicts_->setCursor(Qt::PointingHandCursor);
  conflicts_->setStyleSheet(QStringLiteral("color: #a03000; font-weight: bold;"));
  // Left of the sums: a passing menu hint never hides or overlaps it.
  window.AddStatusWidget(conflicts_);
  connect(conflicts_, &QPushButton::clicked, this, &SyncCommands::OpenResolver);
  connect(watcher_, &FolderWatcher::FilesChanged, this, &SyncCommands::ReloadFiles);
  connect(watcher_, &FolderWatcher::FolderChanged, this, &SyncCommands::ReloadFolder);
  connect(&window, &MainWindow::workingDirectoryChanged, this,
          &SyncCommands::WatchWorkingDirectory);
  connect(backup_, &DailyBackup::Failed, &window, &MainWindow::ShowNote);
  connect(&window, &MainWindow::synchronizeRequested, this, &SyncCommands::Synchronize);
  // The day's backup comes before its first change, also when the day began with the window open.
  connect(&window, &MainWindow::aboutToChange, this, &SyncCommands::BeforeChange);
  connect(rescan_, &SyncthingRescan::Finished, this, &SyncCommands::RescanFinished);
  connect(watcher_, &FolderWatcher::Added, this, [this] {
    MarkStart("records folder watched");
    if (watching_)
      BeginStartCheck();
  });
  connect(window.commands().restoreBackup, &QAction::triggered, this,
          &SyncCommands::RestoreFromBackup);
  ShowLoadedConflicts();
  // The backup reads the whole folder: it waits until the user sees the month. So does the
  // start's folder check, which comes once the folder is watched, so that it sees every change
  // made before it. A start watches the folder while the records are mapped; a watch begun
  // here comes after every other step that follows the paint: while the kernel marks the
  // folder's entries (70 ms at a million files), a look-up of the folder or in it waits (the
  // forecast's balances, the paperclips).
  window.WhenMonthPainted(this, [this] {
    QMetaObject::invokeMethod(this, &SyncCommands::BeginWatching, Qt::QueuedConnection);
    if (!start_)
      BeginDailyBackup();
  });
}

// Follows a load of the working directory, which has found its conflict copies.
void SyncCommands::WatchWorkingDirectory() {
  watching_ = true;
  watcher_->Watch(WorkingRecordsFolder());
  ShowLoadedConflicts();
}

QString SyncCommands::WorkingRecordsFolder() const {
  return app_.workingDirectory().empty()
             ? QString()
             : QString::fromStdString(RecordsFolderPath(app_.store().workingDirectory()));
}

void SyncCommands::ReloadFiles(const std::vector<std::string>& fileNames) {
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

void SyncCommands::ReloadFolder() {
  window_.ShowNote(app_.Reload(&window_));
  window_.RefreshKeepingSelection();
  ShowLoadedConflicts();
}

void SyncCommands::FollowStart(StartLoad& load) {
  start_ = &load;
  connect(&load, &StartLoad::Checked, this, [this](bool reloaded, const QString& note) {
    if (reloaded || !note.isEmpty())
      window_.ShowNote(note);
    if (reloaded)
      window_.RefreshKeepingSelection();
    ShowLoadedConflicts();
  });
  window_.WhenMonthPainted(this, [this] {
    QMetaObject::invokeMethod(this, &SyncCommands::BeginStartCheck, Qt::QueuedConnection);
  });
}

// On a thread of its own: the window stays free while the system marks a large folder.
void SyncCommands::BeginWatching() {
  if (watching_)
    return;
  watching_ = true;
  if (watcher_->folder() != WorkingRecordsFolder())
    watcher_->WatchInBackground(WorkingRecordsFolder());
  ShowLoadedConflicts();
}

void SyncCommands::BeginStartCheck() {
  if (!start_ || startCheckBegun_)
    return;
  BeginWatching();
  // The check begins once the folder is followed, so that it sees every change before it.
  if (watcher_->adding())
    return;
  startCheckBegun_ = true;
  // Marked first: a start that has nothing to confirm ends the check within Check.
  MarkStart("folder check begun");
  start_->Check(&window_);
  BeginDailyBackup();
}

// The backup's first zip loads the formats module, and while a library loads no thread can be
// made: after a start, the backup comes once the folder check's thread is running.
void SyncCommands::BeginDailyBackup() {
  backup_->Start();
  MarkStart("daily backup begun");
}

void SyncCommands::UpdateConflicts() {
  std::size_t count = 0;
  if (!app_.workingDirectory().empty()) {
    auto found =
        FindConflicts(RecordsFolderPath(app_.store().workingDirectory()), app_.store().files());
    count = found.ok() ? found.value().size() : 0;
  }
  ShowConflicts(count);
}

// The conflict copies the store's last load found: no second pass over the folder.
void SyncCommands::ShowLoadedConflicts() {
  ShowConflicts(CountConflicts(app_.store().listing().conflictCopies));
}

void SyncCommands::ShowConflicts(std::size_t count) {
  conflicts_->setText(QString::fromStdString(
      MessageText(Message{MessageId::kSyncConflicts, {}, static_cast<long long>(count), {}})));
  conflicts_->setVisible(count > 0);
}

void SyncCommands::OpenResolver() {
  BeforeChange();
  ConflictResolverDialog resolver(app_.store(), BackupsFolder(app_.workingDirectory()), &window_);
  connect(&resolver, &ConflictResolverDialog::Resolved, &window_,
          &MainWindow::RefreshKeepingSelection);
  resolver.exec();
  watcher_->CheckNow();
  UpdateConflicts();
}

void SyncCommands::BeforeChange() {
  if (start_) {
    BeginStartCheck();
    watcher_->FinishAdding();
    start_->Finish();
  }
  backup_->TakeBeforeChange();
}

void SyncCommands::Synchronize() {
  if (rescan_->running())
    return;
  const std::optional<SyncthingFolder> folder =
      app_.workingDirectory().empty()
          ? std::nullopt
          : FindSyncthingFolder(RecordsFolderPath(app_.store().workingDirectory()));
  if (!folder) {
    window_.SynchronizeLocally();
    return;
  }
  window_.ShowNote(QString::fromStdString(MessageText(MessageId::kSyncthingRescanning)));
  rescan_->Start(*folder);
}

void SyncCommands::RescanFinished(SyncthingRescan::Outcome outcome, const QString& problem) {
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

void SyncCommands::RestoreFromBackup() {
  backup_->Finish();
  paylark::RestoreFromBackup(app_, &window_);
  watcher_->CheckNow();
  window_.RefreshKeepingSelection();
  UpdateConflicts();
}

}  // namespace paylark

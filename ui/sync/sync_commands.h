#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <string>
#include <vector>

#include "ui/sync/syncthing_rescan.h"

class QPushButton;

namespace paylark {

class DailyBackup;
class FolderWatcher;
class MainWindow;
class PaylarkApp;
class StartLoad;

// The window's sync feature, listening to what the window announces: changed files of the
// records folder are read again by themselves, the status bar counts the sync conflicts and
// opens the resolver, the day's backup comes before the day's first change, the window's
// Restore from Backup command puts an earlier state back, and Synchronize asks a running
// Syncthing that shares the records folder to rescan it. The watcher follows the records folder
// for it; the start may have begun its watch already.
class SyncCommands final : public QObject {
  Q_OBJECT

 public:
  SyncCommands(PaylarkApp& app, MainWindow& window, FolderWatcher& watcher);

  FolderWatcher& watcher() { return *watcher_; }
  QPushButton& conflictsButton() { return *conflicts_; }
  // Reads the named files again and refreshes the window, keeping month and selection.
  void ReloadFiles(const std::vector<std::string>& fileNames);
  // Reads the whole folder again, keeping month and selection.
  void ReloadFolder();
  // Follows the check of a start that showed the snapshot's records, which begins once the
  // month is painted (or before a change, when that comes first); when the records must be
  // loaded again, the window follows as after ReloadFolder. A change waits for the check.
  void FollowStart(StartLoad& load);
  // Counts the conflict copies in the records folder.
  void UpdateConflicts();
  void OpenResolver();
  void RestoreFromBackup();
  // Without a synchronisation manager: a Syncthing whose folder holds the records folder rescans
  // it, and the window reloads once Syncthing reports it idle.
  void Synchronize();
  SyncthingRescan& rescan() { return *rescan_; }

 private:
  void WatchWorkingDirectory();
  void BeginWatching();
  // Empty without a working directory.
  QString WorkingRecordsFolder() const;
  void BeginStartCheck();
  void BeginDailyBackup();
  // A change is made on the records the folder holds, after the day's backup.
  void BeforeChange();
  void ShowLoadedConflicts();
  void ShowConflicts(std::size_t count);
  void RescanFinished(SyncthingRescan::Outcome outcome, const QString& problem);

  PaylarkApp& app_;
  MainWindow& window_;
  FolderWatcher* watcher_;
  QPushButton* conflicts_;
  SyncthingRescan* rescan_;
  DailyBackup* backup_;
  StartLoad* start_ = nullptr;  // the start's check, which outlives this
  bool startCheckBegun_ = false;
  bool watching_ = false;
};

}  // namespace paylark

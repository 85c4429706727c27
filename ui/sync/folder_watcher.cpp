#include "ui/sync/folder_watcher.h"

namespace paylark {

FolderWatcher::FolderWatcher(QObject* parent) : QObject(parent) {
  gather_.setSingleShot(true);
  gather_.setInterval(kGatherMilliseconds);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, &gather_, qOverload<>(&QTimer::start));
  connect(&gather_, &QTimer::timeout, this, &FolderWatcher::CheckNow);
}

void FolderWatcher::Watch(const QString& folder) {
  if (!watcher_.directories().isEmpty())
    watcher_.removePaths(watcher_.directories());
  gather_.stop();
  folder_ = folder;
  snapshot_ = FolderSnapshot::Take(folder.toStdString());
  if (!folder.isEmpty())
    watcher_.addPath(folder);
}

void FolderWatcher::CheckNow() {
  if (folder_.isEmpty())
    return;
  FolderSnapshot now = FolderSnapshot::Take(folder_.toStdString());
  std::vector<std::string> changed = now.ChangedSince(snapshot_);
  snapshot_ = std::move(now);
  if (!changed.empty())
    emit FilesChanged(changed);
}

}  // namespace paylark

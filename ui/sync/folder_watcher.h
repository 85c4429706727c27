#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <string>
#include <vector>

#include "core/sync/folder_snapshot.h"

namespace paylark {

// Follows a records folder that other processes and devices change. The file-system watch only
// says that something in the folder changed; reports are gathered for 300 ms, then the folder is
// compared with its last snapshot and the names that changed are announced.
class FolderWatcher final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kGatherMilliseconds = 300;

  explicit FolderWatcher(QObject* parent = nullptr);

  // Starts following the folder from its present state; an empty path stops.
  void Watch(const QString& folder);
  // Compares the folder with the last snapshot now, announcing any change.
  void CheckNow();

 signals:
  void FilesChanged(const std::vector<std::string>& fileNames);

 private:
  QFileSystemWatcher watcher_;
  QTimer gather_;
  QString folder_;
  FolderSnapshot snapshot_;
};

}  // namespace paylark

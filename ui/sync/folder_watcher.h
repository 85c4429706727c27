#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <set>
#include <string>
#include <vector>

class QSocketNotifier;

namespace paylark {

// Follows a records folder that other processes and devices change. The system names each file
// created, written, renamed or removed in the folder (inotify), so a change costs no look at
// the other files however many there are; names are gathered for 300 ms, then announced.
class FolderWatcher final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kGatherMilliseconds = 300;

  explicit FolderWatcher(QObject* parent = nullptr);
  ~FolderWatcher() override;

  // Starts following the folder from its present state; an empty path stops.
  void Watch(const QString& folder);
  // Announces the changes reported so far now instead of after the gathering.
  void CheckNow();

 signals:
  void FilesChanged(const std::vector<std::string>& fileNames);
  // More changed than the system could name (its queue overflowed), or the folder itself was
  // moved or removed: only reading the whole folder again tells what it holds.
  void FolderChanged();

 private:
  void Stop();
  // Takes the reports waiting in the system's queue.
  void Drain();

  int inotify_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  QTimer gather_;
  QString folder_;
  std::set<std::string> changed_;
  bool whole_ = false;
};

}  // namespace paylark

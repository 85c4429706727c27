#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <set>
#include <string>
#include <thread>
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
  // The same on a thread of its own: the system marks every entry of the folder it holds in
  // memory, 70 ms at a million files. Added follows when it follows (or failed to).
  void WatchInBackground(const QString& folder);
  bool adding() const { return adding_.joinable(); }
  // The folder watched or being added; empty for none.
  const QString& folder() const { return folder_; }
  // Waits for the background start and follows the folder now; Added comes before it returns.
  void FinishAdding();
  // Announces the changes reported so far now instead of after the gathering.
  void CheckNow();

 signals:
  void FilesChanged(const std::vector<std::string>& fileNames);
  // More changed than the system could name (its queue overflowed), or the folder itself was
  // moved or removed: only reading the whole folder again tells what it holds.
  void FolderChanged();
  void Added();

 private:
  void Stop();
  // Follows the folder watched through the inotify descriptor (none: -1).
  void Follow(int inotify);
  // Takes the reports waiting in the system's queue.
  void Drain();

  int inotify_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  QTimer gather_;
  QString folder_;
  std::set<std::string> changed_;
  bool whole_ = false;
  std::jthread adding_;
  int addedInotify_ = -1;  // written by adding_, read once it is joined
};

}  // namespace paylark

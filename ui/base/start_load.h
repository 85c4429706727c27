#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <thread>
#include <utility>

#include "core/records/record_store.h"

class QWidget;

namespace paylark {

class PaylarkApp;

// Loads the records for a window's start. With a snapshot the window shows the snapshot's
// records at once, and the records folder is then scanned on a thread of its own: when the
// snapshot no longer describes the folder, the records are loaded again, as a reload does.
// Without a snapshot the start reads every file.
class StartLoad final : public QObject {
  Q_OBJECT

 public:
  explicit StartLoad(PaylarkApp& app, QObject* parent = nullptr);
  // Waits for a scan still running.
  ~StartLoad() override;

  // Called with the records folder once it exists, before the snapshot is read: a watch of the
  // folder begun there is in place by the time the records are shown.
  void BeforeReading(std::function<void(const QString& recordsFolder)> folderMade) {
    folderMade_ = std::move(folderMade);
  }
  // Maps the records; the text is empty, or says how many files were skipped.
  QString Load();
  // Begins the check of a start from the snapshot; Checked follows, at once when there is
  // nothing to check. A reload it needs shows its progress over progressParent.
  void Check(QWidget* progressParent);
  bool checking() const { return thread_.joinable(); }
  // Ends a check now, waiting for its scan: a change is not made on records that the check may
  // still replace.
  void Finish();

 signals:
  // The map is what a reload gives from now on. reloaded: the records were loaded again; note
  // as Load's.
  void Checked(bool reloaded, const QString& note);

 private:
  void Conclude();

  PaylarkApp& app_;
  std::function<void(const QString&)> folderMade_;
  QPointer<QWidget> progressParent_;
  FolderCheck check_;
  std::jthread thread_;
};

}  // namespace paylark

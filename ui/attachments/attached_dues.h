#pragma once

#include <QObject>
#include <set>
#include <string>

class QFileSystemWatcher;
class QTimer;

namespace paylark {

class MainWindow;
class PaylarkApp;

// The list's side of attachments: which rows show a paperclip, and files dropped on a row. The
// record IDs with attachments come from one listing of the Attachments folder, never a read per
// due, so a start with a million dues costs one directory read, taken once the window has painted
// its month; the listing is taken again, gathered for 300 ms, whenever that folder or the
// records change.
class AttachedDues final : public QObject {
  Q_OBJECT

 public:
  AttachedDues(PaylarkApp& app, MainWindow& window);

  // Lists the Attachments folder now and hands the result to the list.
  void Refresh();
  const std::set<std::string>& recordIds() const { return recordIds_; }

 private:
  void Watch();
  void RefreshSoon();
  void Attach(const QString& recordId, const QStringList& paths);

  PaylarkApp& app_;
  MainWindow& window_;
  QFileSystemWatcher* watcher_;
  QTimer* gather_;
  std::set<std::string> recordIds_;
};

}  // namespace paylark

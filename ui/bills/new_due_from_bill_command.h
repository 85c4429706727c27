#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "core/base/status.h"
#include "core/bills/bill.h"
#include "ui/editor/dialog_runner.h"

namespace paylark {

class FeatureHost;
class PaylarkApp;

// File → New Due from Bill… and files dropped on the month list outside any row: the bill is
// read on a worker thread (the window stays live), then the New Due wizard opens filled in from
// it with a line saying what was read from where, and the bill is attached to the due on Finish.
// A file that cannot be read as a bill is told and no wizard opens; one that carries no data
// opens an empty wizard that says so.
class NewDueFromBillCommand final : public QObject {
  Q_OBJECT

 public:
  // Adds the command "newDueFromBill" to the top of the window's File menu.
  NewDueFromBillCommand(PaylarkApp& app, FeatureHost& window, DialogRunner runner = RunModal);

  void Run();
  // Reads the bill at the path; one bill at a time, a second while the first is read is refused.
  void Open(const QString& path);

 signals:
  // The wizard closed, or the bill was refused: the command is ready for the next.
  void Done();

 private:
  void OpenFirst(const QStringList& paths);
  void Fill(const QString& path, const Result<Bill>& read);

  PaylarkApp& app_;
  FeatureHost& window_;
  DialogRunner runner_;
  bool reading_ = false;
  QString leftOut_;  // the note for the files of a drop that were not read
};

}  // namespace paylark

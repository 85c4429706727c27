#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "ui/statements/statement_services.h"

namespace paylark {

class FeatureHost;
class FindRecurringDialog;
class PaylarkApp;
class StatementReader;

// File → Find Recurring Bills…: asks for one or more statements, shows the series they show and
// creates those the user checked, each with its bookings as paid past members, after the day's
// backup. A bank CSV is read with the columns its header line was imported with; one never
// imported is told. Files are read behind a progress dialog with Cancel; a file that cannot be
// read is told, and then, as after Cancel, nothing is written.
class FindRecurringCommand final : public QObject {
  Q_OBJECT

 public:
  // Shows the dialog; true when the user chose Create. Tests answer without a loop.
  using Answer = std::function<bool(FindRecurringDialog&)>;

  // Adds the command "findRecurringBills" to the File menu of the window.
  FindRecurringCommand(PaylarkApp& app, FeatureHost& window, StatementServices services,
                       Answer answer = {});

  void Run();
  // Finds the series in the files and creates the chosen ones; the summary told, else empty.
  QString Find(const QStringList& paths);
  // The same for statements read already, as the statement import offers it.
  QString FindIn(const std::vector<Statement>& statements);

 private:
  std::optional<Statement> Read(const QString& path);
  void Tell(const QString& text);

  PaylarkApp& app_;
  FeatureHost& window_;
  StatementServices services_;
  Answer answer_;
  StatementReader* reader_;  // the window's child: the reads it waits for may outlive this command
};

}  // namespace paylark

#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "core/statements/bank_csv_columns.h"
#include "ui/statements/statement_services.h"

namespace paylark {

class MainWindow;
class PaylarkApp;
class StatementColumnsDialog;
class StatementPreviewDialog;
class StatementReader;

// File → Import Statement…: asks for the file, the columns of a bank CSV (remembered per header
// line), reads the statement on a thread of its own (with Cancel), shows what the statement would
// do, and imports what the user checked as one batch after the day's backup, with a progress
// dialog for large statements. A file that cannot be read is told and nothing is written; so is a
// failed import, which the batch undoes.
class StatementImportCommand final : public QObject {
  Q_OBJECT

 public:
  // Each shows its dialog; true when the user chose OK or Import. Tests answer without a loop.
  struct Dialogs {
    std::function<bool(StatementColumnsDialog&)> columns;
    std::function<bool(StatementPreviewDialog&)> preview;
  };

  StatementImportCommand(PaylarkApp& app, MainWindow& window, StatementServices services,
                         Dialogs dialogs = {});

  void Run();
  // Imports the file at path; empty when nothing was imported, else the summary told.
  QString Import(const QString& path);

 signals:
  // The user took up the summary's offer to set up the recurring bills among the transactions
  // the import left unmatched.
  void recurringBillsWanted(const paylark::Statement& unmatched);

 private:
  // The statement, or nothing when the user cancelled or the file could not be read (told).
  std::optional<Statement> Read(const QString& path);
  std::optional<BankCsvColumns> ChooseColumns(const QString& fileName, std::string_view text);
  QString Apply(const Statement& statement, const StatementImportChoice& choice,
                const QString& fileName);
  // Tells the summary, and offers Find Recurring Bills when what no due matched recurs.
  void TellSummary(const QString& summary, const Statement& statement,
                   const StatementImportChoice& choice);
  void Tell(const QString& text);

  PaylarkApp& app_;
  MainWindow& window_;
  StatementServices services_;
  Dialogs dialogs_;
  StatementReader* reader_;  // the window's child: the reads it waits for may outlive this command
  std::string csvHeader_;    // the header line of the bank CSV being imported; empty for others
};

}  // namespace paylark

#include "ui/statements/statement_import_command.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>
#include <algorithm>
#include <memory>

#include "core/statements/recurring/series_suggestions.h"
#include "settings/statement_settings.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"
#include "ui/base/wait_cursor.h"
#include "ui/shell/commands.h"
#include "ui/shell/main_window.h"
#include "ui/statements/statement_columns_dialog.h"
#include "ui/statements/statement_file.h"
#include "ui/statements/statement_preview_dialog.h"
#include "ui/statements/statement_reader.h"
#include "ui/statements/statement_summary_text.h"

namespace paylark {
namespace {

// From this many chosen transactions on, importing them shows its progress.
constexpr std::size_t kProgressFrom = 200;

// The statement with only the transactions the import neither matched to a due nor added.
Statement UnmatchedPart(const Statement& statement, const StatementImportChoice& choice) {
  std::vector<bool> used(statement.transactions.size(), false);
  for (const StatementMatch& match : choice.accepted)
    used.at(match.transaction) = true;
  for (const std::size_t added : choice.addAsPaid)
    used.at(added) = true;
  Statement rest = statement;
  rest.transactions.clear();
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (!used[i])
      rest.transactions.push_back(statement.transactions[i]);
  }
  return rest;
}

// A remembered mapping names no column that the file does not have.
bool Fits(const BankCsvColumns& columns, const BankCsvShape& shape) {
  std::size_t widest = shape.header.size();
  for (const std::vector<std::string>& row : shape.sampleRows)
    widest = std::max(widest, row.size());
  const auto width = static_cast<int>(widest);
  for (const std::optional<int>& column :
       {columns.date, columns.amount, columns.debit, columns.credit, columns.counterparty,
        columns.description, columns.reference, columns.debitCreditMark}) {
    if (column && *column >= width)
      return false;
  }
  return true;
}

}  // namespace

StatementImportCommand::StatementImportCommand(PaylarkApp& app, MainWindow& window,
                                               StatementServices services, Dialogs dialogs)
    : QObject(&window),
      app_(app),
      window_(window),
      services_(std::move(services)),
      dialogs_(std::move(dialogs)),
      reader_(new StatementReader(&window)) {
  if (!dialogs_.columns)
    dialogs_.columns = [](StatementColumnsDialog& dialog) {
      return dialog.exec() == QDialog::Accepted;
    };
  if (!dialogs_.preview)
    dialogs_.preview = [](StatementPreviewDialog& dialog) {
      return dialog.exec() == QDialog::Accepted;
    };
  connect(window.commands().importStatement, &QAction::triggered, this,
          &StatementImportCommand::Run);
}

void StatementImportCommand::Run() {
  // As for Import CSV: files to import are usually kept beside the dues.
  const QString path = app_.desktop().ChooseOpenPath(
      &window_, QStringLiteral("Import Statement"),
      QStringLiteral("Bank statements (*.ofx *.qfx *.xml *.csv);;All Files (*)"),
      QString::fromStdString(app_.workingDirectory()));
  if (!path.isEmpty())
    Import(path);
}

QString StatementImportCommand::Import(const QString& path) {
  const QString fileName = QFileInfo(path).fileName();
  csvHeader_.clear();
  std::optional<Statement> statement = Read(path);
  if (!statement)
    return {};
  std::vector<std::string> accounts;
  StatementMatching matching;
  {
    WaitCursor wait;
    accounts = services_.accounts(*statement);
    // A bank CSV names no account: the one its header line went to last time comes first.
    if (const std::optional<std::string> kept =
            csvHeader_.empty() ? std::nullopt : RememberedBankCsvAccount(csvHeader_)) {
      std::erase(accounts, *kept);
      accounts.insert(accounts.begin(), *kept);
    }
    if (!accounts.empty())
      statement->account = accounts.front();
    matching = services_.match(*statement);
  }
  StatementPreviewDialog preview(fileName, *statement, matching, app_.store().map(), accounts,
                                 services_.balanceEntered(*statement), &window_);
  connect(&preview, &StatementPreviewDialog::accountChosen, this, [&](const QString& account) {
    WaitCursor wait;
    statement->account = account.toStdString();
    preview.Show(*statement, services_.match(*statement), services_.balanceEntered(*statement));
  });
  if (!dialogs_.preview(preview))
    return {};
  QString summary = Apply(*statement, preview.choice(), fileName);
  if (!summary.isEmpty() && !csvHeader_.empty())
    RememberBankCsvAccount(csvHeader_, statement->account);
  return summary;
}

std::optional<Statement> StatementImportCommand::Read(const QString& path) {
  const TellUser tell = [this](const QString& text) { Tell(text); };
  const std::optional<StatementFile> file = OpenStatementFile(path, services_, tell);
  if (!file)
    return std::nullopt;
  std::optional<BankCsvColumns> columns;
  if (file->format == StatementFormat::kCsv) {
    columns = ChooseColumns(file->fileName, file->CsvText());
    if (!columns)
      return std::nullopt;
  }
  return ReadOpenedStatement(*reader_, *file, columns, services_, tell);
}

std::optional<BankCsvColumns> StatementImportCommand::ChooseColumns(const QString& fileName,
                                                                    std::string_view text) {
  const Result<BankCsvShape> shape = services_.detectCsvShape(text);
  if (!shape.ok()) {
    Tell(QString::fromStdString(shape.status().message()));
    return std::nullopt;
  }
  const std::string& headerLine = shape.value().headerLine;
  csvHeader_ = headerLine;
  std::optional<BankCsvColumns> preset = RememberedBankCsvColumns(headerLine);
  if (!preset || *preset == BankCsvColumns{} || !Fits(*preset, shape.value()))
    preset = shape.value().guessedColumns;
  StatementColumnsDialog dialog(fileName, shape.value(), *preset, &window_);
  if (!dialogs_.columns(dialog))
    return std::nullopt;
  RememberBankCsvColumns(headerLine, dialog.columns());
  return dialog.columns();
}

QString StatementImportCommand::Apply(const Statement& statement,
                                      const StatementImportChoice& choice,
                                      const QString& fileName) {
  // The day's backup is taken before the first change.
  emit window_.aboutToChange();
  const std::size_t count = choice.accepted.size() + choice.addAsPaid.size();
  std::unique_ptr<QProgressDialog> progress;
  if (count >= kProgressFrom) {
    progress = std::make_unique<QProgressDialog>(QStringLiteral("Importing the statement..."),
                                                 QString(), 0, static_cast<int>(count), &window_);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
  }
  const Result<StatementImportSummary> imported = services_.import(
      statement, choice, fileName.toStdString(), [&progress](std::size_t done, std::size_t total) {
        if (!progress)
          return;
        if (total > 0)
          progress->setMaximum(static_cast<int>(total));
        progress->setValue(static_cast<int>(done));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      });
  progress.reset();
  if (!imported.ok()) {
    Tell(QString::fromStdString(imported.status().message()));
    return {};
  }
  QString summary = StatementSummaryText(imported.value(), statement);
  window_.RefreshKeepingSelection();
  window_.ShowNote(summary);
  TellSummary(summary, statement, choice);
  return summary;
}

void StatementImportCommand::TellSummary(const QString& summary, const Statement& statement,
                                         const StatementImportChoice& choice) {
  const Statement unmatched = UnmatchedPart(statement, choice);
  std::size_t recurring = 0;
  {
    WaitCursor wait;
    recurring = SuggestSeries({unmatched}, app_.store().map()).suggestions.size();
  }
  if (recurring == 0) {
    app_.prompt().Tell(&window_, summary, PromptIcon::kInformation);
    return;
  }
  const QString offer =
      recurring == 1
          ? QStringLiteral("1 recurring bill is among the transactions no due matched.")
          : QStringLiteral("%1 recurring bills are among the transactions no due matched.")
                .arg(recurring);
  const QString question = summary + QStringLiteral("\n\n") + offer +
                           QStringLiteral(" Set them up with Find Recurring Bills?");
  if (app_.prompt().Ask(&window_, question, PromptButtons::kYesNo, PromptIcon::kInformation) ==
      PromptAnswer::kYes)
    emit recurringBillsWanted(unmatched);
}

void StatementImportCommand::Tell(const QString& text) {
  app_.prompt().Tell(&window_, text, PromptIcon::kWarning);
}

}  // namespace paylark

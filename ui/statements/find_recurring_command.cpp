#include "ui/statements/find_recurring_command.h"

#include <QAction>

#include "core/statements/recurring/suggested_series_creation.h"
#include "settings/statement_settings.h"
#include "ui/base/paylark_app.h"
#include "ui/base/wait_cursor.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/feature_host.h"
#include "ui/statements/find_recurring_dialog.h"
#include "ui/statements/statement_file.h"
#include "ui/statements/statement_reader.h"

namespace paylark {

FindRecurringCommand::FindRecurringCommand(PaylarkApp& app, FeatureHost& window,
                                           StatementServices services, Answer answer)
    : QObject(&window.dialogParent()),
      app_(app),
      window_(window),
      services_(std::move(services)),
      answer_(std::move(answer)),
      reader_(new StatementReader(&window.dialogParent())) {
  if (!answer_)
    answer_ = [](FindRecurringDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
  QAction* command = window.commandRegistry().Add(
      {QStringLiteral("findRecurringBills"), QStringLiteral("Find &Recurring Bills..."),
       QStringLiteral("Propose series from the bills in bank statements\nFind Recurring Bills"),
       MenuPlace::kFileImport});
  connect(command, &QAction::triggered, this, &FindRecurringCommand::Run);
}

void FindRecurringCommand::Run() {
  const QStringList paths = app_.desktop().ChooseOpenPaths(
      &window_.dialogParent(), QStringLiteral("Find Recurring Bills"),
      QStringLiteral("Bank statements (*.ofx *.qfx *.xml *.csv);;All Files (*)"),
      QString::fromStdString(app_.workingDirectory()));
  if (!paths.isEmpty())
    Find(paths);
}

QString FindRecurringCommand::Find(const QStringList& paths) {
  std::vector<Statement> statements;
  for (const QString& path : paths) {
    std::optional<Statement> statement = Read(path);
    if (!statement)
      return {};
    if (const std::vector<std::string> accounts = services_.accounts(*statement); !accounts.empty())
      statement->account = accounts.front();
    statements.push_back(std::move(*statement));
  }
  return FindIn(statements);
}

QString FindRecurringCommand::FindIn(const std::vector<Statement>& statements) {
  SeriesSuggestions found;
  {
    WaitCursor wait;
    found = SuggestSeries(statements, app_.store().map());
  }
  FindRecurringDialog dialog(found, &window_.dialogParent());
  if (!answer_(dialog))
    return {};
  // The day's backup is taken before the first change.
  window_.AnnounceChange();
  std::size_t created = 0;
  for (const FindRecurringDialog::Choice& choice : dialog.Chosen()) {
    SeriesSuggestion suggestion = found.suggestions[choice.suggestion];
    if (!choice.title.empty())
      suggestion.title = choice.title;
    const Result<CreatedSeries> made =
        CreateSuggestedSeries(suggestion, choice.count, app_.store(), app_.clock());
    if (!made.ok()) {
      window_.AnnounceRecordsChanged();
      Tell(QString::fromStdString(made.status().message()));
      return {};
    }
    ++created;
  }
  QString summary = created == 1 ? QStringLiteral("1 series created.")
                                 : QStringLiteral("%1 series created.").arg(created);
  window_.AnnounceRecordsChanged();
  window_.ShowStatusMessage(summary);
  return summary;
}

std::optional<Statement> FindRecurringCommand::Read(const QString& path) {
  const TellUser tell = [this](const QString& text) { Tell(text); };
  const std::optional<StatementFile> file = OpenStatementFile(path, services_, tell);
  if (!file)
    return std::nullopt;
  std::optional<BankCsvColumns> columns;
  if (file->format == StatementFormat::kCsv) {
    const Result<BankCsvShape> shape = services_.detectCsvShape(file->CsvText());
    if (shape.ok())
      columns = RememberedBankCsvColumns(shape.value().headerLine);
    if (!columns) {
      Tell(QStringLiteral("The columns of %1 are not known yet: import it once with File → "
                          "Import Statement… and choose them there.")
               .arg(file->fileName));
      return std::nullopt;
    }
  }
  return ReadOpenedStatement(*reader_, *file, columns, services_, tell);
}

void FindRecurringCommand::Tell(const QString& text) {
  app_.prompt().Tell(&window_.dialogParent(), text, PromptIcon::kWarning);
}

}  // namespace paylark

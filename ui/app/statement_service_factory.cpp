#include "ui/app/statement_service_factory.h"

#include "core/forecast/balance_book.h"
#include "core/forecast/balance_file.h"
#include "core/statements/statement_account.h"
#include "settings/statement_settings.h"
#include "ui/base/paylark_app.h"

namespace paylark {

namespace {

std::vector<BalanceEntry> BalanceEntries(RecordStore& store) {
  BalanceBook balances(store.files(), RecordsFolderPath(store.workingDirectory()));
  balances.Load(store.listing().balanceFiles);
  return balances.entries();
}

}  // namespace

StatementServices MakeStatementServices(PaylarkApp& app) {
  StatementServices services;
  services.detectFormat = [](std::string_view head) { return DetectStatementFormat(head); };
  services.detectCsvShape = [](std::string_view text) { return DetectBankCsvShape(text); };
  services.read = [&app](const std::string& path, StatementFormat format,
                         const std::optional<BankCsvColumns>& columns) {
    return ReadStatement(app.store().files(), path, format, columns);
  };
  services.accounts = [&app](const Statement& statement) {
    return StatementAccountChoices(statement, app.store().map(), BalanceEntries(app.store()),
                                   ReadMatchOptions());
  };
  services.match = [&app](const Statement& statement) {
    return MatchStatement(statement, app.store().map(), ReadMatchOptions());
  };
  services.balanceEntered = [&app](const Statement& statement) {
    return ClosingBalanceEntered(statement, BalanceEntries(app.store()));
  };
  services.import = [&app](const Statement& statement, const StatementImportChoice& choice,
                           const std::string& sourceName,
                           const Progress& progress) -> Result<StatementImportSummary> {
    RecordStore& store = app.store();
    BalanceBook balances(store.files(), RecordsFolderPath(store.workingDirectory()));
    balances.Load(store.listing().balanceFiles);
    Result<StatementImportSummary> summary =
        ImportStatement(statement, choice, sourceName, store, balances, progress);
    // The closing balance's new file counts at once, before the folder is scanned again.
    for (const BalanceEntry& entry : balances.entries())
      store.NoteBalanceFile(BalanceFileName(entry.entryId));
    return summary;
  };
  return services;
}

}  // namespace paylark

#include "ui/app/statement_services.h"

#include "core/forecast/balance_book.h"
#include "ui/base/paylark_app.h"

namespace paylark {

StatementServices MakeStatementServices(PaylarkApp& app) {
  StatementServices services;
  services.detectFormat = [](std::string_view head) { return DetectStatementFormat(head); };
  services.detectCsvShape = [](std::string_view text) { return DetectBankCsvShape(text); };
  services.read = [&app](const std::string& path, StatementFormat format,
                         const std::optional<BankCsvColumns>& columns) {
    return ReadStatement(app.store().files(), path, format, columns);
  };
  services.match = [&app](const Statement& statement) {
    return MatchStatement(statement, app.store().map(), MatchOptions{});
  };
  services.import = [&app](const Statement& statement, const StatementImportChoice& choice,
                           const std::string& sourceName,
                           const Progress& progress) -> Result<StatementImportSummary> {
    BalanceBook balances(app.store().files(), app.store().RecordsFolder());
    PAYLARK_TRY(balances.Load());
    return ImportStatement(statement, choice, sourceName, app.store(), balances, progress);
  };
  return services;
}

}  // namespace paylark

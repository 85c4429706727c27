#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/forecast_text.h"
#include "cli/printable_text.h"
#include "cli/statement_files.h"
#include "cli/statement_import_run.h"
#include "core/statements/bank_csv_columns_text.h"
#include "core/statements/statement_reading.h"
#include "settings/statement_settings.h"

namespace paylark::cli {
namespace {

std::optional<StatementFormat> FormatNamed(const std::string& name) {
  if (name == "ofx")
    return StatementFormat::kOfx;
  if (name == "camt")
    return StatementFormat::kCamt;
  if (name == "csv")
    return StatementFormat::kCsv;
  return std::nullopt;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int RunImportStatement(Arguments& arguments, CommandContext& context, bool dryRun) {
  const std::optional<std::string> account = TakeAccount(arguments);
  const std::optional<std::string> formatName = arguments.TakeValue("--format");
  const std::optional<std::string> columnsText = arguments.TakeValue("--columns");
  StatementRunOptions options;
  options.includePossible = arguments.TakeFlag("--include-possible");
  options.addUnmatched = arguments.TakeFlag("--add-unmatched");
  options.json = arguments.TakeFlag("--json");
  options.dryRun = dryRun;
  const std::optional<std::string> path = arguments.TakePositional();
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  if (!path)
    return UsageError(context, "import statement needs a file: import statement FILE");
  std::optional<StatementFormat> format;
  if (formatName && !(format = FormatNamed(*formatName)))
    return UsageError(context, "--format must be ofx, camt or csv");
  std::optional<BankCsvColumns> columns;
  if (columnsText) {
    Result<BankCsvColumns> parsed = ParseColumnsText(*columnsText);
    if (!parsed.ok())
      return UsageError(context, parsed.status().message());
    columns = parsed.value();
  }

  FileSystem& files = context.store.files();
  std::string csvHeader;
  Result<Statement> read = ReadStatementAt(files, *path, format, columns, csvHeader);
  if (!read.ok())
    return ReadingFailure(context, read.status());
  Statement statement = std::move(read).value();
  BalanceBook balances(files, RecordsFolderPath(context.store.workingDirectory()));
  LoadBalances(context, balances);
  const std::optional<std::string> csvAccount =
      csvHeader.empty() ? std::nullopt : RememberedBankCsvAccount(csvHeader);
  Result<std::string> chosen =
      StatementAccount(statement, account, csvAccount, balances, context.store.map());
  if (!chosen.ok())
    return UsageError(context, chosen.status().message());
  statement.account = std::move(chosen).value();
  if (account && !csvHeader.empty() && !dryRun)
    RememberBankCsvAccount(csvHeader, *account);
  options.sourceName = FileNameOf(*path);
  return RunStatementImport(statement, options, ReadMatchOptions(), balances, context);
}

}  // namespace paylark::cli

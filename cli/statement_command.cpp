#include <fstream>
#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/forecast_text.h"
#include "cli/printable_text.h"
#include "cli/statement_import_run.h"
#include "core/statements/bank_csv_columns_text.h"
#include "core/statements/statement_account.h"
#include "core/statements/statement_reading.h"
#include "settings/statement_settings.h"

namespace paylark::cli {
namespace {

constexpr std::size_t kHeadBytes = 4096;

std::optional<StatementFormat> FormatNamed(const std::string& name) {
  if (name == "ofx")
    return StatementFormat::kOfx;
  if (name == "camt")
    return StatementFormat::kCamt;
  if (name == "csv")
    return StatementFormat::kCsv;
  return std::nullopt;
}

// The format the file's first bytes show; nothing when it cannot be opened or shows none.
std::optional<StatementFormat> DetectedFormat(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(kHeadBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return DetectStatementFormat(head);
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A failure to read is the operation failing; a file that is no statement is invalid input.
int ReadingFailure(CommandContext& context, const Status& status) {
  const bool input =
      status.code() == StatusCode::kCorrupt || status.code() == StatusCode::kInvalidArgument;
  return Fail(context, input ? kExitInvalid : kExitFailed, status.message());
}

// A bank CSV read with the columns given, else those kept for its header line; columns given
// are kept for it once the file has been read with them. headerLine is the CSV's header.
Result<Statement> ReadCsvStatement(FileSystem& files, const std::string& path,
                                   const std::optional<BankCsvColumns>& given,
                                   std::string& headerLine) {
  PAYLARK_TRY_ASSIGN(const std::string bytes, ReadStatementFile(files, path));
  PAYLARK_TRY_ASSIGN(const BankCsvShape shape, DetectBankCsvShape(bytes));
  headerLine = shape.headerLine;
  std::optional<BankCsvColumns> columns = given;
  if (!columns)
    columns = RememberedBankCsvColumns(shape.headerLine);
  if (!columns) {
    return Status::InvalidArgument(
        "the columns of this bank CSV are not known yet: give them once with --columns, for "
        "example --columns date=1,amount=4,counterparty=3");
  }
  PAYLARK_TRY_ASSIGN(Statement statement,
                     ReadStatementBytes(bytes, StatementFormat::kCsv, *columns));
  if (given)
    RememberBankCsvColumns(shape.headerLine, *given);
  return statement;
}

// The Paylark account the statement goes to: the one given (which links the bank's account from
// the import on), else the linked one (for a bank CSV, the one its header line was last imported
// to), else the only account the dues name. With several and no link the user must choose:
// nothing is written.
Result<std::string> StatementAccount(const Statement& statement,
                                     const std::optional<std::string>& given,
                                     const std::optional<std::string>& csvAccount,
                                     const BalanceBook& balances, const DueMap& dues) {
  if (given)
    return *given;
  if (std::optional<std::string> linked = LinkedAccount(balances.entries(), statement.bankAccount))
    return *linked;
  if (csvAccount)
    return *csvAccount;
  const std::vector<std::string> accounts = AccountsOfDues(dues);
  if (accounts.size() <= 1)
    return accounts.empty() ? std::string() : accounts.front();
  std::string names;
  for (const std::string& account : accounts)
    names += (names.empty() ? "\"" : ", \"") + Printable(account) + "\"";
  const std::string bank = statement.bankAccount.empty()
                               ? std::string("The statement's account")
                               : "The bank account " + Printable(statement.bankAccount);
  return Status::InvalidArgument(bank + " is linked to no Paylark account, and dues name " +
                                 std::to_string(accounts.size()) + ": " + names +
                                 ". Choose one with --account; it is remembered for this bank "
                                 "account.");
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
  if (!format)
    format = DetectedFormat(*path);
  std::string csvHeader;
  Result<Statement> read = format == StatementFormat::kCsv
                               ? ReadCsvStatement(files, *path, columns, csvHeader)
                               : ReadStatement(files, *path, format, columns);
  if (!read.ok())
    return ReadingFailure(context, read.status());
  Statement statement = std::move(read).value();
  BalanceBook balances(files, context.store.RecordsFolder());
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

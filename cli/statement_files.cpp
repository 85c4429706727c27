#include "cli/statement_files.h"

#include "cli/exit_code.h"
#include "cli/printable_text.h"
#include "core/statements/statement_account.h"
#include "settings/statement_settings.h"

namespace paylark::cli {
namespace {

// A bank CSV read with the columns given, else those kept for its header line; columns given
// are kept for it once the file has been read with them. headerLine is the CSV's header.
Result<Statement> ReadCsvStatement(std::string_view bytes,
                                   const std::optional<BankCsvColumns>& given,
                                   std::string& headerLine) {
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

}  // namespace

Result<Statement> ReadStatementAt(FileSystem& files, const std::string& path,
                                  std::optional<StatementFormat> format,
                                  const std::optional<BankCsvColumns>& columns,
                                  std::string& csvHeader) {
  PAYLARK_TRY_ASSIGN(const std::string bytes, ReadStatementFile(files, path));
  if (!format)
    format = DetectStatementFormat(bytes);
  if (format == StatementFormat::kCsv)
    return ReadCsvStatement(bytes, columns, csvHeader);
  return ReadStatementBytes(bytes, format, columns);
}

int ReadingFailure(CommandContext& context, const Status& status) {
  const bool input =
      status.code() == StatusCode::kCorrupt || status.code() == StatusCode::kInvalidArgument;
  return Fail(context, input ? kExitInvalid : kExitFailed, status.message());
}

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

}  // namespace paylark::cli

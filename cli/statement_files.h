#pragma once

#include <optional>
#include <string>

#include "cli/command.h"
#include "core/forecast/balance_book.h"
#include "core/statements/bank_csv_columns.h"
#include "core/statements/statement.h"
#include "core/statements/statement_reading.h"

namespace paylark::cli {

// A statement file as the commands read it: the format given, else the one its first bytes
// show; a bank CSV with the columns given (kept for its header line once read with them), else
// those kept for its header line. csvHeader gets a CSV's header line, and stays empty otherwise.
Result<Statement> ReadStatementAt(FileSystem& files, const std::string& path,
                                  std::optional<StatementFormat> format,
                                  const std::optional<BankCsvColumns>& columns,
                                  std::string& csvHeader);

// A failure to read is the operation failing; a file that is no statement is invalid input.
int ReadingFailure(CommandContext& context, const Status& status);

// The Paylark account the statement goes to: the one given (which links the bank's account from
// the import on), else the linked one (for a bank CSV, the one its header line was last imported
// to), else the only account the dues name. With several and no link the user must choose: the
// failure names them.
Result<std::string> StatementAccount(const Statement& statement,
                                     const std::optional<std::string>& given,
                                     const std::optional<std::string>& csvAccount,
                                     const BalanceBook& balances, const DueMap& dues);

}  // namespace paylark::cli

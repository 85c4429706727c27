#pragma once

#include <string>

#include "cli/command.h"
#include "core/forecast/balance_book.h"
#include "core/statements/statement.h"
#include "core/statements/statement_matching.h"

namespace paylark::cli {

// What `import statement` was asked to do with a statement once it is read.
struct StatementRunOptions {
  std::string sourceName;        // the file's name: the balance entry's source
  bool includePossible = false;  // import possible matches too, not only sure ones
  bool addUnmatched = false;     // add the transactions that match nothing as paid dues
  bool dryRun = false;           // decide and print, write nothing
  bool json = false;
};

// Matches the statement to the dues, imports the sure matches (and possible ones when asked) and
// the closing balance in one batch, and prints each decision with its reason and a summary (or the
// JSON form). Transactions that match nothing are listed, and added only when asked. Returns the
// exit code.
int RunStatementImport(const Statement& statement, const StatementRunOptions& options,
                       const MatchOptions& matchOptions, BalanceBook& balances,
                       CommandContext& context);

// "12 dues marked paid, 2 added, balance of Checking set to $1,240.00 on 30 Nov 2026", dates as
// the window writes them; the balance part only when one was written.
std::string StatementSummaryText(std::size_t markedPaid, std::size_t added,
                                 const std::string& account, const StatementBalance* balance,
                                 bool dryRun);

}  // namespace paylark::cli

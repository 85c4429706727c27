#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/base/clock.h"
#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/forecast/balance_book.h"
#include "core/records/record_store.h"
#include "core/statements/statement.h"
#include "core/statements/statement_matching.h"

namespace paylark {

// What the user chose in the preview (or the command line's sure matches).
struct StatementImportChoice {
  std::vector<StatementMatch> accepted;  // these dues become paid by their transaction
  std::vector<std::size_t> addAsPaid;    // these transactions become new paid dues
  bool writeClosingBalance = true;       // when the statement has one
};

struct StatementImportSummary {
  std::size_t markedPaid = 0;
  std::size_t added = 0;
  bool balanceWritten = false;
};

// Applies the choice as one swap of the records folder's files (RecordStore::WriteTogether):
// matched dues become paid on the booking date with the transaction's amount and ID as reference,
// chosen transactions become paid dues, and the closing balance becomes a balance entry of the
// statement's account, unless the loaded balances hold it already (the same statement imported
// again). All or nothing, also when the process is killed: a failed write changes nothing and is
// returned, and a kill leaves the import whole or not begun once the next load has finished it.
// A choice naming a due that is not unpaid (or changed elsewhere since it was read), or a
// transaction twice, changes nothing.
Result<StatementImportSummary> ImportStatement(const Statement& statement,
                                               const StatementImportChoice& choice,
                                               const std::string& sourceName, RecordStore& store,
                                               BalanceBook& balances,
                                               const Progress& progress = {});
// The same with the clock that names the balance entry and dates the new dues' start.
Result<StatementImportSummary> ImportStatement(const Statement& statement,
                                               const StatementImportChoice& choice,
                                               const std::string& sourceName, RecordStore& store,
                                               BalanceBook& balances, const Clock& clock,
                                               const Progress& progress = {});

// The paid due a transaction that matched nothing becomes: titled by its counterparty (else its
// memo), an income for a credit, of the statement's account, paid on the booking date with the
// transaction's amount and ID as reference.
DueRecord PaidDueFor(const StatementTransaction& transaction, const std::string& account,
                     const Clock& clock);

}  // namespace paylark

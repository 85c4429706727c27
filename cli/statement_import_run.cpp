#include "cli/statement_import_run.h"

#include <ostream>

#include "cli/date_time_text.h"
#include "cli/exit_code.h"
#include "cli/forecast_text.h"
#include "cli/json_writer.h"
#include "cli/printable_text.h"
#include "core/base/format.h"
#include "core/statements/statement_account.h"
#include "core/statements/statement_import.h"

namespace paylark::cli {
namespace {

// "YYYY-MM-DD"
std::string DayText(const OleDateTime& date) {
  return IsoDateTime(date).substr(0, 10);
}

std::string Money(Cents amount) {
  return FormatAmount(FromCents(amount));
}

// The transaction's columns of a decision line: ID, booking day, amount, counterparty or memo.
std::string TransactionColumns(const StatementTransaction& transaction) {
  const std::string& name =
      transaction.counterparty.empty() ? transaction.memo : transaction.counterparty;
  return Printable(transaction.id) + '\t' + DayText(transaction.bookingDate) + '\t' +
         Money(transaction.amount) + '\t' + Printable(name);
}

std::string DueColumns(const DueRecord& due) {
  return due.recordId + '\t' + DayText(due.dueDate) + '\t' + Printable(due.title) + '\t' +
         FormatAmount(due.amount);
}

void PrintDecisions(const Statement& statement, const StatementMatching& matching,
                    const StatementRunOptions& options, const RecordStore& store,
                    std::ostream& out) {
  const bool includePossible = options.includePossible;
  const bool addUnmatched = options.addUnmatched;
  for (const StatementMatch& match : matching.matches) {
    const char* decision = match.sure ? "paid" : includePossible ? "paid (possible)" : "possible";
    out << decision << '\t' << TransactionColumns(statement.transactions[match.transaction]) << '\t'
        << DueColumns(store.Get(match.recordId)) << '\t' << MatchReasonText(match.reason) << '\n';
  }
  for (const std::size_t transaction : matching.unmatched) {
    out << (addUnmatched ? "added\t" : "unmatched\t")
        << TransactionColumns(statement.transactions[transaction]) << '\n';
  }
  for (const std::size_t transaction : matching.alreadyImported)
    out << "already imported\t" << TransactionColumns(statement.transactions[transaction]) << '\n';
  for (const std::string& recordId : matching.stillUnpaid)
    out << "still unpaid\t" << DueColumns(store.Get(recordId)) << '\n';
}

std::string TransactionIds(const Statement& statement, const std::vector<std::size_t>& indices) {
  std::string list;
  for (const std::size_t index : indices)
    list += (list.empty() ? "" : ", ") + JsonString(statement.transactions[index].id);
  return "[" + list + "]";
}

void PrintJson(const Statement& statement, const StatementMatching& matching, std::ostream& out) {
  out << "{\"account\": "
      << (statement.account.empty() ? std::string("null") : JsonString(statement.account))
      << ", \"closingBalance\": ";
  if (const auto& closing = statement.closingBalance) {
    out << "{\"date\": " << JsonString(DayText(closing->date))
        << ", \"amount\": " << JsonNumber(FromCents(closing->amount)) << "}";
  } else {
    out << "null";
  }
  out << ", \"matched\": [";
  for (std::size_t i = 0; i < matching.matches.size(); ++i) {
    const StatementMatch& match = matching.matches[i];
    out << (i ? ", " : "")
        << "{\"transaction\": " << JsonString(statement.transactions[match.transaction].id)
        << ", \"recordId\": " << JsonString(match.recordId)
        << ", \"sure\": " << (match.sure ? "true" : "false")
        << ", \"reason\": " << JsonString(MatchReasonText(match.reason)) << "}";
  }
  std::string unpaid;
  for (const std::string& recordId : matching.stillUnpaid)
    unpaid += (unpaid.empty() ? "" : ", ") + JsonString(recordId);
  out << "], \"unmatched\": " << TransactionIds(statement, matching.unmatched)
      << ", \"alreadyImported\": " << TransactionIds(statement, matching.alreadyImported)
      << ", \"stillUnpaid\": [" << unpaid << "]}\n";
}

StatementImportChoice ChoiceOf(const StatementMatching& matching,
                               const StatementRunOptions& options) {
  StatementImportChoice choice;
  for (const StatementMatch& match : matching.matches) {
    if (match.sure || options.includePossible)
      choice.accepted.push_back(match);
  }
  if (options.addUnmatched)
    choice.addAsPaid = matching.unmatched;
  return choice;
}

}  // namespace

std::string StatementSummaryText(std::size_t markedPaid, std::size_t added,
                                 const std::string& account, const StatementBalance* balance,
                                 bool dryRun) {
  std::string text = std::to_string(markedPaid) + (markedPaid == 1 ? " due " : " dues ") +
                     (dryRun ? "would be marked paid, " : "marked paid, ") + std::to_string(added) +
                     (dryRun ? " would be added" : " added");
  if (balance) {
    text += ", balance of " + AccountLabel(account) + (dryRun ? " would be set to " : " set to ") +
            Money(balance->amount) + " on " + FormatDate(balance->date, "d MMM yyyy");
  }
  return text;
}

int RunStatementImport(const Statement& statement, const StatementRunOptions& options,
                       const MatchOptions& matchOptions, BalanceBook& balances,
                       CommandContext& context) {
  const StatementMatching matching = MatchStatement(statement, context.store.map(), matchOptions);
  if (matching.accountNamedByNoDue) {
    context.err << "paylark-cli: no due names the account \"" << Printable(statement.account)
                << "\": the statement was matched against dues without an account\n";
  }
  if (statement.transactions.empty())
    context.err << "paylark-cli: the statement holds no transactions\n";
  if (options.json)
    PrintJson(statement, matching, context.out);
  else
    PrintDecisions(statement, matching, options, context.store, context.out);

  const StatementImportChoice choice = ChoiceOf(matching, options);
  if (options.dryRun) {
    if (!options.json) {
      const bool setsBalance =
          statement.closingBalance && !ClosingBalanceEntered(statement, balances.entries());
      const StatementBalance* balance = setsBalance ? &*statement.closingBalance : nullptr;
      context.out << StatementSummaryText(choice.accepted.size(), choice.addAsPaid.size(),
                                          statement.account, balance, true)
                  << '\n';
    }
    return kExitSuccess;
  }
  const Result<StatementImportSummary> imported = ImportStatement(
      statement, choice, options.sourceName, context.store, balances, context.clock);
  if (!imported.ok())
    return Fail(context, kExitFailed, imported.status().message());
  if (!options.json) {
    const StatementImportSummary& summary = imported.value();
    context.out << StatementSummaryText(
                       summary.markedPaid, summary.added, statement.account,
                       summary.balanceWritten ? &*statement.closingBalance : nullptr, false)
                << '\n';
  }
  return kExitSuccess;
}

}  // namespace paylark::cli

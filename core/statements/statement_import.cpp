#include "core/statements/statement_import.h"

#include <cstdlib>
#include <unordered_set>

#include "core/base/messages.h"
#include "core/records/payment.h"
#include "core/statements/statement_account.h"

namespace paylark {
namespace {

Payment PaymentBy(const StatementTransaction& transaction) {
  return {transaction.bookingDate, FromCents(std::llabs(transaction.amount)), transaction.id,
          transaction.counterparty, transaction.counterpartyAccount};
}

// Every index names a transaction, every accepted due is held and unpaid, and no transaction or
// due is used twice: a choice that fails here changes nothing.
Status CheckChoice(const Statement& statement, const StatementImportChoice& choice,
                   const RecordStore& store) {
  std::unordered_set<std::size_t> transactions;
  std::unordered_set<std::string> dues;
  const auto take = [&](std::size_t transaction) {
    return transaction < statement.transactions.size() &&
           statement.transactions[transaction].bookingDate.IsValid() &&
           transactions.insert(transaction).second;
  };
  for (const StatementMatch& match : choice.accepted) {
    if (!take(match.transaction))
      return Status::InvalidArgument("a transaction of the statement was chosen twice");
    const std::optional<DueRecord> due = store.map().Find(match.recordId);
    if (!due || IsPaid(*due) || !dues.insert(match.recordId).second)
      return Status::InvalidArgument("the due " + match.recordId +
                                     " is no longer unpaid, or was chosen twice");
  }
  for (const std::size_t transaction : choice.addAsPaid) {
    if (!take(transaction))
      return Status::InvalidArgument("a transaction of the statement was chosen twice");
  }
  return Status::Ok();
}

Status Undone(const Status& failure) {
  return Status::IoError(MessageText({MessageId::kImportUndone, {}, 0, failure.message()}));
}

}  // namespace

DueRecord PaidDueFor(const StatementTransaction& transaction, const std::string& account,
                     const Clock& clock) {
  DueRecord record = DueRecord::WithDefaults(clock);
  record.title = !transaction.counterparty.empty() ? transaction.counterparty : transaction.memo;
  record.payTo = transaction.counterparty;
  record.notes = transaction.counterparty.empty() ? std::string() : transaction.memo;
  record.account = account;
  record.amount = FromCents(std::llabs(transaction.amount));
  if (transaction.amount > 0)
    record.type = kTypeIncome;
  record.startDate = transaction.bookingDate;
  record.dueDate = transaction.bookingDate;
  ApplyEditorDefaults(record);
  MarkPaid(record, clock.Now(), PaymentBy(transaction));
  return record;
}

Result<StatementImportSummary> ImportStatement(const Statement& statement,
                                               const StatementImportChoice& choice,
                                               const std::string& sourceName, RecordStore& store,
                                               BalanceBook& balances, const Progress& progress) {
  static const SystemClock clock;
  return ImportStatement(statement, choice, sourceName, store, balances, clock, progress);
}

Result<StatementImportSummary> ImportStatement(const Statement& statement,
                                               const StatementImportChoice& choice,
                                               const std::string& sourceName, RecordStore& store,
                                               BalanceBook& balances, const Clock& clock,
                                               const Progress& progress) {
  PAYLARK_TRY(CheckChoice(statement, choice, store));
  std::vector<DueRecord> paid;
  for (const StatementMatch& match : choice.accepted) {
    DueRecord record = store.Get(match.recordId);
    const Payment payment = PaymentBy(statement.transactions[match.transaction]);
    if (match.part)
      Pay(record, clock.Now(), payment);
    else if (IsPartlyPaid(record))
      PayRest(record, clock.Now(), payment);
    else
      MarkPaid(record, clock.Now(), payment);
    paid.push_back(std::move(record));
  }
  std::vector<DueRecord> added;
  for (const std::size_t transaction : choice.addAsPaid)
    added.push_back(PaidDueFor(statement.transactions[transaction], statement.account, clock));
  std::vector<NewRecordFile> balanceFile;
  std::optional<BalanceEntry> closing;
  if (choice.writeClosingBalance && statement.closingBalance &&
      !ClosingBalanceEntered(statement, balances.entries())) {
    const StatementBalance& balance = *statement.closingBalance;
    closing =
        BalanceEntry{"",         statement.account,    balance.date, FromCents(balance.amount),
                     sourceName, statement.bankAccount};
    balanceFile.push_back(balances.Prepare(*closing, clock));
  }
  // One swap: a kill leaves the whole import or none of it, and the next load finishes a decided
  // one.
  if (const auto written = store.WriteTogether(paid, std::move(added), balanceFile); !written.ok())
    return Undone(written.status());
  if (closing) {
    store.NoteBalanceFile(balanceFile.front().name);
    balances.Note(std::move(*closing));
  }
  Report(progress, paid.size() + choice.addAsPaid.size(), paid.size() + choice.addAsPaid.size());
  return StatementImportSummary{paid.size(), choice.addAsPaid.size(), closing.has_value()};
}

}  // namespace paylark

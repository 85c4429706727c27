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

// What this import changed so far, so that a failure can put it back.
struct Changes {
  std::vector<DueRecord> replaced;  // as they were before
  std::vector<std::string> added;

  void Undo(RecordStore& store) const {
    StoreBatch batch(store);
    for (const std::string& id : added)
      (void)store.Delete(id, ChangeMarker::kSkip);
    for (const DueRecord& record : replaced)
      (void)store.Replace(record);
    (void)batch.Finish();
  }
};

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

// Writes the chosen dues inside the store's batch; stops at the first failed write.
Status WriteDues(const Statement& statement, const StatementImportChoice& choice,
                 RecordStore& store, const Clock& clock, const Progress& progress,
                 Changes& changes) {
  const std::size_t total = choice.accepted.size() + choice.addAsPaid.size();
  std::size_t done = 0;
  for (const StatementMatch& match : choice.accepted) {
    DueRecord record = store.Get(match.recordId);
    changes.replaced.push_back(record);
    MarkPaid(record, clock.Now(), PaymentBy(statement.transactions[match.transaction]));
    if (Status status = store.Replace(record); !status.ok())
      return Status::IoError(
          MessageText({MessageId::kRecordWriteFailed, record.title, 0, status.message()}));
    Report(progress, ++done, total);
  }
  for (const std::size_t transaction : choice.addAsPaid) {
    DueRecord record = PaidDueFor(statement.transactions[transaction], statement.account, clock);
    AddResult result = store.Add(record);
    changes.added.push_back(result.recordId);
    if (!result.status.ok())
      return Status::IoError(
          MessageText({MessageId::kRecordWriteFailed, record.title, 0, result.status.message()}));
    Report(progress, ++done, total);
  }
  return Status::Ok();
}

// A write of a balance file can fail after the file was placed (its flush): the entry is taken
// out again, found by its contents.
void RemoveLeftBehind(BalanceBook& balances, const BalanceEntry& written) {
  if (!balances.Load().ok())
    return;
  std::vector<std::string> left;
  for (const BalanceEntry& entry : balances.entries()) {
    if (entry.account == written.account && entry.date == written.date &&
        entry.amount == written.amount && entry.source == written.source)
      left.push_back(entry.entryId);
  }
  for (const std::string& entryId : left)
    (void)balances.Remove(entryId);
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
  Changes changes;
  StoreBatch batch(store);
  Status written = WriteDues(statement, choice, store, clock, progress, changes);
  if (!written.ok()) {
    // Still inside the batch: nothing written so far was renamed into place.
    changes.Undo(store);
    (void)batch.Finish();
    return Undone(written);
  }
  if (Status finished = batch.Finish(); !finished.ok()) {
    changes.Undo(store);
    return Undone(Status::IoError(
        MessageText({MessageId::kRecordsWriteFailed,
                     {},
                     static_cast<long long>(changes.replaced.size() + changes.added.size()),
                     finished.message()})));
  }
  StatementImportSummary summary{changes.replaced.size(), changes.added.size(), false};
  if (choice.writeClosingBalance && statement.closingBalance &&
      !ClosingBalanceEntered(statement, balances.entries())) {
    const StatementBalance& closing = *statement.closingBalance;
    const BalanceEntry entry{"",           statement.account,
                             closing.date, FromCents(closing.amount),
                             sourceName,   statement.bankAccount};
    if (Result<BalanceEntry> added = balances.Add(entry, clock); !added.ok()) {
      RemoveLeftBehind(balances, entry);
      changes.Undo(store);
      return Undone(Status::IoError("The balance could not be saved: " + added.status().message()));
    }
    summary.balanceWritten = true;
  }
  return summary;
}

}  // namespace paylark

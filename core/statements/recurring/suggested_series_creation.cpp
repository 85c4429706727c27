#include "core/statements/recurring/suggested_series_creation.h"

#include <unordered_set>

#include "core/base/messages.h"
#include "core/recurrence/series_generation.h"
#include "core/statements/statement_import.h"

namespace paylark {
namespace {

void Remove(RecordStore& store, const CreatedSeries& created) {
  StoreBatch batch(store);
  for (const auto* ids : {&created.upcoming, &created.paid}) {
    for (const std::string& id : *ids)
      (void)store.Delete(id, ChangeMarker::kSkip);
  }
  (void)batch.Finish();
}

DueRecord SheetOf(const SeriesSuggestion& suggestion, const Clock& clock) {
  DueRecord sheet = DueRecord::WithDefaults(clock);
  sheet.title = suggestion.title;
  sheet.payTo = suggestion.payTo;
  sheet.account = suggestion.account;
  sheet.amount = FromCents(suggestion.amount);
  if (suggestion.income)
    sheet.type = kTypeIncome;
  ApplyEditorDefaults(sheet);
  return sheet;
}

std::unordered_set<std::string> PaymentReferences(const DueMap& dues) {
  std::unordered_set<std::string> references;
  dues.ForEach([&](const DueRecord& record) {
    if (!record.paymentReference.empty())
      references.insert(record.paymentReference);
  });
  return references;
}

// Adds the paid past members inside the caller's batch; stops at the first failed write.
Status AddSeen(const SeriesSuggestion& suggestion, const DueRecord& sheet, RecordStore& store,
               const Clock& clock, CreatedSeries& created) {
  const std::unordered_set<std::string> references = PaymentReferences(store.map());
  for (const StatementTransaction& transaction : suggestion.seen) {
    if (references.contains(transaction.id))
      continue;
    DueRecord record = PaidDueFor(transaction, suggestion.account, clock);
    record.title = sheet.title;
    record.payTo = sheet.payTo;
    record.seriesId = created.seriesId;
    AddResult added = store.Add(std::move(record));
    if (!added.status.ok()) {
      store.Forget(added.recordId);
      return Status::IoError(
          MessageText({MessageId::kRecordWriteFailed, sheet.title, 0, added.status.message()}));
    }
    created.paid.push_back(std::move(added.recordId));
  }
  return Status::Ok();
}

}  // namespace

Result<CreatedSeries> CreateSuggestedSeries(const SeriesSuggestion& suggestion, int count,
                                            RecordStore& store, const Clock& clock) {
  if (count < 1)
    return Status::InvalidArgument(MessageText(MessageId::kInvalidRecurrenceCount));
  RecurrencePattern pattern = suggestion.pattern;
  pattern.count = std::to_string(count);
  const DueRecord sheet = SheetOf(suggestion, clock);
  const DueOffset onTheDay{
      .days = 0, .hours = 0, .minutes = 0, .seconds = 0, .weekend = suggestion.cadence.shift};
  CreatedSeries created;
  StoreBatch batch(store);
  SeriesResult generated = GenerateDues(pattern, store, sheet, onTheDay);
  created.seriesId = generated.seriesId;
  created.upcoming = std::move(generated.recordIds);
  Status status = generated.success ? AddSeen(suggestion, sheet, store, clock, created)
                                    : std::move(generated.status);
  if (Status finished = batch.Finish(); status.ok())
    status = std::move(finished);
  if (!status.ok()) {
    Remove(store, created);
    std::string text =
        MessageText({MessageId::kSeriesNotCreated, sheet.title, 0, status.message()});
    return status.code() == StatusCode::kInvalidArgument ? Status::InvalidArgument(std::move(text))
                                                         : Status::IoError(std::move(text));
  }
  return created;
}

}  // namespace paylark

#include "core/recurrence/new_due.h"

#include <optional>

#include "core/recurrence/weekend_shift.h"

namespace paylark {

std::int64_t DueOffset::TotalSeconds() const {
  return days * 86400 + std::int64_t{hours} * 3600 + std::int64_t{minutes} * 60 + seconds;
}

std::optional<DueRecord> FinishedDue(DueRecord record, const DueRecord& sheet,
                                     const DueOffset& offset, bool first) {
  std::optional<OleDateTime> due = record.startDate.AddSeconds(offset.TotalSeconds());
  if (due)
    due = ShiftOffWeekend(*due, offset.weekend);
  if (!due)
    return std::nullopt;
  record.dueDate = *due;
  record.title = sheet.title;
  record.payTo = sheet.payTo;
  record.account = sheet.account;
  record.amount = sheet.amount;
  record.type = sheet.type;
  record.notes = sheet.notes;
  // A contract's renewal and notice belong to every member.
  record.renewsOn = sheet.renewsOn;
  record.noticePeriod = sheet.noticePeriod;
  record.paid = first && IsPaid(sheet) ? 1 : 0;
  return record;
}

Status CompletePlaceholders(RecordStore& store, const std::vector<std::string>& placeholderIds,
                            const DueRecord& sheet, const DueOffset& offset,
                            const Progress& progress) {
  std::vector<DueRecord> finished;
  finished.reserve(placeholderIds.size());
  for (std::size_t index = 0; index < placeholderIds.size(); ++index) {
    if (!store.records().Contains(placeholderIds[index]))
      continue;
    std::optional<DueRecord> record =
        FinishedDue(store.Get(placeholderIds[index]), sheet, offset, index == 0);
    if (!record)
      return Status::InvalidArgument(kDueBeyondLastYear);
    finished.push_back(std::move(*record));
  }
  StoreBatch batch(store);
  std::size_t done = 0;
  for (const DueRecord& record : finished) {
    Status status = store.Replace(record);
    if (!status.ok())
      return status;
    Report(progress, ++done, finished.size());
  }
  return batch.Finish();
}

Status DeletePlaceholders(RecordStore& store, const std::vector<std::string>& placeholderIds,
                          const Progress& progress) {
  StoreBatch batch(store);
  std::size_t done = 0;
  for (const std::string& id : placeholderIds) {
    Status status = store.Delete(id, ChangeMarker::kSkip);
    if (!status.ok())
      return status;
    Report(progress, ++done, placeholderIds.size());
  }
  return batch.Finish();
}

}  // namespace paylark

#include "core/reminders/reminder_selection.h"

#include <algorithm>
#include <optional>

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = std::int64_t{24} * 60 * 60;

// The end of the days a reminder looks ahead: empty when they run past the last representable
// day, and then nothing is too late.
std::optional<OleDateTime> EndOfDaysAhead(const OleDateTime& today, int daysAhead) {
  return today.AddDays(std::max(daysAhead, 0) + 1);
}

// Whether a reminder is for the due, and so its due date; only the chosen dues are unpacked, by
// the caller: most dues are paid or later.
std::optional<OleDateTime> RemindedDate(const PackedDue& due,
                                        const std::optional<OleDateTime>& end) {
  if (due.IsPaid())
    return std::nullopt;
  const OleDateTime dueDate = due.DueDate();
  return !end || dueDate < *end ? std::optional(dueDate) : std::nullopt;
}

}  // namespace

std::vector<Reminder> SelectReminders(const DueMap& map, const OleDateTime& now, int daysAhead) {
  const OleDateTime today = now.DateOnly();
  const std::int64_t todaySeconds = today.LinearSeconds();
  const std::optional<OleDateTime> end = EndOfDaysAhead(today, daysAhead);
  std::vector<Reminder> reminders;
  map.ForEachPacked([&](const PackedDue& due) {
    if (!RemindedDate(due, end))
      return;
    DueRecord record = due.Unpack();
    const std::int64_t daySeconds = record.dueDate.DateOnly().LinearSeconds();
    const DueState state = StateOf(record, today);
    reminders.push_back(
        {std::move(record), state, static_cast<int>((daySeconds - todaySeconds) / kSecondsPerDay)});
  });
  std::stable_sort(reminders.begin(), reminders.end(), [](const Reminder& a, const Reminder& b) {
    return a.record.dueDate < b.record.dueDate;
  });
  return reminders;
}

ReminderSummary SummarizeReminders(const DueMap& map, const OleDateTime& now, int daysAhead) {
  ReminderCounter counter(now, daysAhead);
  for (std::uint32_t bucket = 0; bucket < DueMap::kBucketCount; ++bucket)
    counter.TakeBucket(map, BucketPart{bucket});
  return counter.summary();
}

ReminderCounter::ReminderCounter(const OleDateTime& now, int daysAhead)
    : today_(now.DateOnly()), end_(EndOfDaysAhead(today_, daysAhead)) {}

void ReminderCounter::TakeBucket(const DueMap& map, const BucketPart& part) {
  map.ForEachPackedInBucket(part, [&](const PackedDue& due) {
    const std::optional<OleDateTime> dueDate = RemindedDate(due, end_);
    if (!dueDate)
      return;
    // Unpaid, so overdue exactly when its day is before today.
    ++(dueDate->DateOnly() < today_ ? summary_.counts.overdue : summary_.counts.dueSoon);
    // The first of equal due dates in map order, as the stable sort keeps it.
    if (!earliest_ || *dueDate < *earliest_) {
      earliest_ = dueDate;
      due.RecordIdInto(summary_.earliestRecordId);
    }
  });
}

ReminderCounts CountReminders(const std::vector<Reminder>& reminders) {
  ReminderCounts counts;
  for (const Reminder& reminder : reminders)
    ++(reminder.state == DueState::kOverdue ? counts.overdue : counts.dueSoon);
  return counts;
}

}  // namespace paylark

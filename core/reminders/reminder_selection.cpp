#include "core/reminders/reminder_selection.h"

#include <algorithm>
#include <optional>

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = std::int64_t{24} * 60 * 60;

// Calls choose(const DueRecord&) for every due a reminder is for, in map order.
template <class Chooser>
void ForEachReminded(const DueMap& map, const OleDateTime& today, int daysAhead, Chooser&& choose) {
  // Empty when the window runs past the last representable day: then nothing is too late.
  const std::optional<OleDateTime> end = today.AddDays(std::max(daysAhead, 0) + 1);
  map.ForEach([&](const DueRecord& record) {
    if (!IsPaid(record) && (!end || record.dueDate < *end))
      choose(record);
  });
}

}  // namespace

std::vector<Reminder> SelectReminders(const DueMap& map, const OleDateTime& now, int daysAhead) {
  const OleDateTime today = now.DateOnly();
  const std::int64_t todaySeconds = today.LinearSeconds();
  std::vector<Reminder> reminders;
  ForEachReminded(map, today, daysAhead, [&](const DueRecord& record) {
    const std::int64_t daySeconds = record.dueDate.DateOnly().LinearSeconds();
    reminders.push_back({record, StateOf(record, today),
                         static_cast<int>((daySeconds - todaySeconds) / kSecondsPerDay)});
  });
  std::stable_sort(reminders.begin(), reminders.end(), [](const Reminder& a, const Reminder& b) {
    return a.record.dueDate < b.record.dueDate;
  });
  return reminders;
}

ReminderSummary SummarizeReminders(const DueMap& map, const OleDateTime& now, int daysAhead) {
  const OleDateTime today = now.DateOnly();
  ReminderSummary summary;
  std::optional<OleDateTime> earliest;
  ForEachReminded(map, today, daysAhead, [&](const DueRecord& record) {
    ++(StateOf(record, today) == DueState::kOverdue ? summary.counts.overdue
                                                    : summary.counts.dueSoon);
    // The first of equal due dates in map order, as the stable sort keeps it.
    if (!earliest || record.dueDate < *earliest) {
      earliest = record.dueDate;
      summary.earliestRecordId = record.recordId;
    }
  });
  return summary;
}

ReminderCounts CountReminders(const std::vector<Reminder>& reminders) {
  ReminderCounts counts;
  for (const Reminder& reminder : reminders)
    ++(reminder.state == DueState::kOverdue ? counts.overdue : counts.dueSoon);
  return counts;
}

}  // namespace paylark

#include "core/reminders/reminder_selection.h"

#include <algorithm>
#include <optional>

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

}  // namespace

std::vector<Reminder> SelectReminders(const DueMap& map, const OleDateTime& now, int daysAhead) {
  const OleDateTime today = now.DateOnly();
  // Empty when the window runs past the last representable day: then nothing is too late.
  const std::optional<OleDateTime> end = today.AddDays(std::max(daysAhead, 0) + 1);
  // Selecting and sorting pointers first copies each chosen record once.
  std::vector<const DueRecord*> chosen;
  map.ForEach([&](const DueRecord& record) {
    if (!IsPaid(record) && (!end || record.dueDate < *end))
      chosen.push_back(&record);
  });
  std::stable_sort(chosen.begin(), chosen.end(),
                   [](const DueRecord* a, const DueRecord* b) { return a->dueDate < b->dueDate; });
  const std::int64_t todaySeconds = today.LinearSeconds();
  std::vector<Reminder> reminders;
  reminders.reserve(chosen.size());
  for (const DueRecord* record : chosen) {
    const std::int64_t daySeconds = record->dueDate.DateOnly().LinearSeconds();
    reminders.push_back({*record, StateOf(*record, today),
                         static_cast<int>((daySeconds - todaySeconds) / kSecondsPerDay)});
  }
  return reminders;
}

ReminderCounts CountReminders(const std::vector<Reminder>& reminders) {
  ReminderCounts counts;
  for (const Reminder& reminder : reminders)
    ++(reminder.state == DueState::kOverdue ? counts.overdue : counts.dueSoon);
  return counts;
}

}  // namespace paylark

#include "core/reminders/cancel_reminders.h"

#include <algorithm>
#include <unordered_set>

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = std::int64_t{24} * 60 * 60;

}  // namespace

std::vector<CancelReminder> SelectCancelReminders(const DueMap& map, const OleDateTime& now,
                                                  int daysAhead) {
  const OleDateTime today = now.DateOnly();
  const std::optional<OleDateTime> end = today.AddDays(std::max(daysAhead, 0) + 1);
  std::unordered_set<std::string> seriesSeen;
  std::vector<CancelReminder> reminders;
  map.ForEachPacked([&](const PackedDue& due) {
    // A renewal date lives in the extension block: most dues have none.
    if (due.ExtensionBlock().empty())
      return;
    DueRecord record = due.Unpack();
    const std::optional<CancelBy> cancelBy = NextCancelBy(record, today);
    if (!cancelBy || (end && !(cancelBy->date < *end)))
      return;
    if (IsSeriesMember(record) && !seriesSeen.insert(record.seriesId).second)
      return;
    const std::int64_t days =
        (cancelBy->date.LinearSeconds() - today.LinearSeconds()) / kSecondsPerDay;
    reminders.push_back({std::move(record), *cancelBy, static_cast<int>(days)});
  });
  std::stable_sort(reminders.begin(), reminders.end(),
                   [](const CancelReminder& a, const CancelReminder& b) {
                     return a.cancelBy.date < b.cancelBy.date;
                   });
  return reminders;
}

std::string CancelReminderText(const CancelReminder& reminder) {
  return CancelReminderText(reminder.record.title, reminder.cancelBy);
}

}  // namespace paylark

#include "core/reminders/cancel_reminders.h"

#include <algorithm>

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = std::int64_t{24} * 60 * 60;

}  // namespace

std::vector<CancelReminder> SelectCancelReminders(const DueMap& map, const OleDateTime& now,
                                                  int daysAhead) {
  CancelReminderCollector collector(now, daysAhead);
  for (std::uint32_t bucket = 0; bucket < DueMap::kBucketCount; ++bucket)
    collector.TakeBucket(map, BucketPart{bucket});
  return std::move(collector).Finish();
}

CancelReminderCollector::CancelReminderCollector(const OleDateTime& now, int daysAhead)
    : today_(now.DateOnly()), end_(today_.AddDays(std::max(daysAhead, 0) + 1)) {}

void CancelReminderCollector::TakeBucket(const DueMap& map, const BucketPart& part) {
  // A renewal date lives in the extension block: most dues have none.
  map.ForEachPackedWithExtensionInBucket(part, [&](const PackedDue& due) {
    DueRecord record = due.Unpack();
    const std::optional<CancelBy> cancelBy = NextCancelBy(record, today_);
    if (!cancelBy || (end_ && !(cancelBy->date < *end_)))
      return;
    if (IsSeriesMember(record) && !seriesSeen_.insert(record.seriesId).second)
      return;
    const std::int64_t days =
        (cancelBy->date.LinearSeconds() - today_.LinearSeconds()) / kSecondsPerDay;
    reminders_.push_back({std::move(record), *cancelBy, static_cast<int>(days)});
  });
}

std::vector<CancelReminder> CancelReminderCollector::Finish() && {
  std::stable_sort(reminders_.begin(), reminders_.end(),
                   [](const CancelReminder& a, const CancelReminder& b) {
                     return a.cancelBy.date < b.cancelBy.date;
                   });
  return std::move(reminders_);
}

std::string CancelReminderText(const CancelReminder& reminder) {
  return CancelReminderText(reminder.record.title, reminder.cancelBy);
}

}  // namespace paylark

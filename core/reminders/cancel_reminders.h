#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/base/ole_date_time.h"
#include "core/records/due_map.h"
#include "core/records/notice_period.h"

namespace paylark {

// A contract to cancel soon, or it renews.
struct CancelReminder {
  DueRecord record;  // the due that carries the contract: for a series, its first in map order
  CancelBy cancelBy;
  int daysFromToday = 0;  // calendar days from today to the cancel-by date; 0 for "Cancel now"
};

// Every contract (a series counts once) whose cancel-by date falls before the end of the day
// daysAhead days after now's day, a "Cancel now" one always, in cancel-by order with ties in map
// order. Only dues with extension details are unpacked.
std::vector<CancelReminder> SelectCancelReminders(const DueMap& map, const OleDateTime& now,
                                                  int daysAhead);

// The same selection taken a part of a bucket of the map at a time: the buckets 0 to
// DueMap::kBucketCount - 1 in turn, each in its parts, then Finish, give SelectCancelReminders'
// reminders.
class CancelReminderCollector {
 public:
  CancelReminderCollector(const OleDateTime& now, int daysAhead);
  void TakeBucket(const DueMap& map, const BucketPart& part);
  // The reminders in cancel-by order, ties in map order.
  std::vector<CancelReminder> Finish() &&;

 private:
  OleDateTime today_;
  std::optional<OleDateTime> end_;  // none when the days ahead run past the last day
  std::unordered_set<std::string> seriesSeen_;
  std::vector<CancelReminder> reminders_;
};

// "Cancel Gym by 30 Sep 2026, or it renews on 31 Dec 2026".
std::string CancelReminderText(const CancelReminder& reminder);

}  // namespace paylark

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/base/ole_date_time.h"
#include "core/records/due_map.h"
#include "core/records/due_record.h"
#include "core/records/due_state.h"

namespace paylark {

// How far ahead reminders look when neither the user nor the settings say: the preferences offer
// 0 to 30 days.
inline constexpr int kDefaultDaysAhead = 3;
inline constexpr int kMaxDaysAhead = 30;

struct Reminder {
  DueRecord record;
  DueState state = DueState::kLater;  // kOverdue, kToday or kLater; never kPaid
  int daysFromToday = 0;              // calendar days from today to the due's day; < 0 overdue
};

struct ReminderCounts {
  int overdue = 0;
  int dueSoon = 0;  // due today or within the days ahead
};

// Every unpaid due of any month that is overdue or falls due before the end of the day that lies
// daysAhead days after now's day (a negative daysAhead counts as 0), in due-date order with ties
// in map order. One pass over the map; only the selected dues are copied.
std::vector<Reminder> SelectReminders(const DueMap& map, const OleDateTime& now, int daysAhead);

ReminderCounts CountReminders(const std::vector<Reminder>& reminders);

struct ReminderSummary {
  ReminderCounts counts;
  std::string earliestRecordId;  // the first of SelectReminders; empty when none is selected
};
// What a count of SelectReminders gives, in one pass that copies and sorts nothing: the window
// counts again after every change.
ReminderSummary SummarizeReminders(const DueMap& map, const OleDateTime& now, int daysAhead);

// A window counts a large map this many parts of a bucket at a time: a bucket of a million dues
// is walked out of memory order, and while the start's backup and folder check share two cores
// with the window, a quarter of one took up to 15 ms; a thirty-second takes one or two.
inline constexpr std::uint32_t kReminderPartsPerBucket = 32;

// The same count taken a part of a bucket of the map at a time: the buckets 0 to
// DueMap::kBucketCount - 1 in turn, each in its parts, give SummarizeReminders' summary, so a
// count of a million dues can be spread out.
class ReminderCounter {
 public:
  ReminderCounter(const OleDateTime& now, int daysAhead);
  void TakeBucket(const DueMap& map, const BucketPart& part);
  const ReminderSummary& summary() const { return summary_; }

 private:
  OleDateTime today_;
  std::optional<OleDateTime> end_;  // none when the days ahead run past the last day
  std::optional<OleDateTime> earliest_;
  ReminderSummary summary_;
};

}  // namespace paylark

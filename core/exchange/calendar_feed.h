#pragma once

#include <string>
#include <vector>

#include "core/base/ole_date_time.h"
#include "core/records/due_record.h"
#include "core/records/record_store.h"

namespace paylark {

inline constexpr int kDefaultReminderDays = 3;

// When an unpaid due's alarms ring: the feed's one alarm, whole days before the event's day, or
// a calendar server's two, the reminder days before the due's time and at the due's time, both
// related to the event's start by name.
enum class AlarmStyle { kDaysBefore, kBeforeAndAtDueTime };

struct CalendarOptions {
  OleDateTime stamp;                        // local time; every event's DTSTAMP, in UTC
  int reminderDays = kDefaultReminderDays;  // how long before an unpaid due its alarm rings
  AlarmStyle alarms = AlarmStyle::kDaysBefore;
};

// An iCalendar document (RFC 5545, written by libical) with one all-day event per due, in the
// order given. An event's UID is "<record ID>@paylark", so a calendar that subscribes to the
// file keeps each due as one event across rewrites. Only unpaid dues carry an alarm. A contract
// among the dues adds one event of its own on its next cancel-by date, seen from the stamp.
std::string RenderCalendar(const std::vector<DueRecord>& dues, const CalendarOptions& options);
// A calendar of the one due's event, as a calendar server keeps each event in a file of its own.
std::string RenderDueEvent(const DueRecord& due, const CalendarOptions& options);
// The contract the due belongs to: its series, or the due itself.
std::string ContractKey(const DueRecord& due);
// A calendar holding the event of the due's contract's next cancel-by date, with its alarm the
// day before; empty for a due without a renewal date.
std::string RenderCancelEvent(const DueRecord& due, const CalendarOptions& options);

// The dues the live feed holds: due from 90 days before now to two years after, in due-date
// order.
std::vector<DueRecord> CalendarFeedDues(const RecordStore& store, const OleDateTime& now);
// <working directory>/Exports/Paylark.ics
std::string CalendarFeedPath(const std::string& workingDirectory);

}  // namespace paylark

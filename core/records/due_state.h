#pragma once

#include "core/base/ole_date_time.h"
#include "core/records/due_record.h"

namespace paylark {

// What the month list's text colour tells about a due: grey when paid, red when its day is
// before today, blue when it is today (even when the time has passed), black later.
enum class DueState { kPaid, kOverdue, kToday, kLater };

// The due's state on the day of now; only the calendar day of both values counts.
DueState StateOf(const DueRecord& record, const OleDateTime& now);

}  // namespace paylark

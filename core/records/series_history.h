#pragma once

#include <string>
#include <vector>

#include "core/records/due_record.h"
#include "core/records/record_store.h"

namespace paylark {

// The series' members in the order their positions count them: by due date, equal dates by
// record ID. Empty for an empty series ID.
std::vector<DueRecord> SeriesHistory(const RecordStore& store, const std::string& seriesId);

// How much the due's listed amount (what was paid, else what is due) changed from the member
// before it: "+5.1%", "-12.0%", "+0.0%", the decimal mark the locale's amounts use. Empty for
// the first member, a due outside `members`, or when the member before cost nothing.
std::string SeriesChangeText(const std::vector<DueRecord>& members, const std::string& recordId);

// "Paid $55.25 to $90.00": the range of what the paid members cost, every part counted, as the
// list shows amounts. Empty when fewer than two were paid or all cost the same.
std::string PaidRangeText(const std::vector<DueRecord>& members);

}  // namespace paylark

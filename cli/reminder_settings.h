#pragma once

#include <optional>

#include "core/base/ole_date_time.h"

namespace paylark::cli {

// Reminders/DaysAhead from the window's settings, when it holds a whole number of 0 or more.
std::optional<int> SavedDaysAhead();
// Reminders/SnoozedUntil: notifications stay silent until this local time.
std::optional<OleDateTime> SnoozedUntil();
void SaveSnoozedUntil(const OleDateTime& until);

}  // namespace paylark::cli

#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/base/cents.h"
#include "core/base/ole_date_time.h"
#include "core/forecast/balance_entry.h"
#include "core/records/due_map.h"

namespace paylark {

// The first day an account's forecast closes below the warning level.
struct LowBalanceWarning {
  std::string account;  // as its newest balance entry names it
  Cents level = 0;
  OleDateTime date;
};

// The warning looks this many days further ahead than the reminders do: far enough to move money
// before a bill that the reminders do not show yet.
inline constexpr int kWarningDaysBeyondReminders = 14;

// The earliest warning among the accounts that have a balance entry, looking `days` ahead of
// now (an account without an entry would start at 0 and warn of every bill, so it is left out).
std::optional<LowBalanceWarning> FindLowBalanceWarning(std::span<const BalanceEntry> balances,
                                                       const DueMap& dues, const OleDateTime& now,
                                                       Cents level, int days);

// "Balance below <level> on <date>", the level as the list shows amounts; the caption strip and
// the reminder notification both say it.
std::string LowBalanceWarningText(const LowBalanceWarning& warning);

}  // namespace paylark

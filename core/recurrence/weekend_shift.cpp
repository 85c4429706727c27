#include "core/recurrence/weekend_shift.h"

namespace paylark {
namespace {

constexpr int kSunday = 1;
constexpr int kSaturday = 7;

}  // namespace

std::optional<OleDateTime> ShiftOffWeekend(const OleDateTime& due, WeekendShift shift) {
  const int weekday = due.DayOfWeek();
  if (shift == WeekendShift::kKeep || (weekday != kSunday && weekday != kSaturday))
    return due;
  if (shift == WeekendShift::kFridayBefore)
    return due.AddDays(weekday == kSaturday ? -1 : -2);
  return due.AddDays(weekday == kSaturday ? 2 : 1);
}

}  // namespace paylark

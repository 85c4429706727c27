#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/ole_date_time.h"
#include "core/recurrence/recurrence_pattern.h"
#include "core/recurrence/weekend_shift.h"

namespace paylark {

enum class CadenceUnit { kWeeks, kMonths };

// How often a bill recurs, as far as its bookings show: every 1, 2 or 4 weeks on a weekday, or
// every 1, 2, 3, 6 or 12 months on a day of the month, moved off weekends as the bank moved it.
struct Cadence {
  CadenceUnit unit = CadenceUnit::kMonths;
  int every = 1;
  int weekday = 1;  // weeks: 1 Sunday to 7 Saturday
  int day = 1;      // months: the day of the month, 1 to 31; shorter months take their last
  WeekendShift shift = WeekendShift::kKeep;

  bool operator==(const Cadence&) const = default;
};

// The longest cadence looked for.
enum class CadenceReach { kWeeks, kHalfYears, kYears };

// The cadence that every booking date (in date order, each a day at 00:00) fits, each within two
// days of its occurrence and with no occurrence left out between the first and the last: at least
// three bookings, two a year apart for a yearly one. The shortest cadence that fits wins; nothing
// when none does.
std::optional<Cadence> FindCadence(const std::vector<OleDateTime>& bookings,
                                   CadenceReach reach = CadenceReach::kYears);

// The occurrence a booking stands for (the weekend shift undone): the nearest one of the cadence.
OleDateTime NominalDate(const Cadence& cadence, const OleDateTime& booking);
// The occurrence after the given one.
std::optional<OleDateTime> NextOccurrence(const Cadence& cadence, const OleDateTime& occurrence);
// The length of one period in days (a month counts 30.44).
double PeriodDays(const Cadence& cadence);

// The pattern series generation takes: from the start (an occurrence), count occurrences.
RecurrencePattern PatternOf(const Cadence& cadence, const OleDateTime& start, int count);
// "weekly on Friday", "every 4 weeks on Friday", "monthly on the 1st", "every 3 months on the
// 15th", "yearly on 15 Mar" (the month of the given occurrence).
std::string CadenceText(const Cadence& cadence, const OleDateTime& occurrence);

}  // namespace paylark

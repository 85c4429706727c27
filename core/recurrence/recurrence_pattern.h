#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/base/ole_date_time.h"
#include "core/recurrence/weekend_shift.h"

namespace paylark {

enum class RecurrenceKind { kDay, kWeek, kMonth, kYear };
enum class DayForm { kEveryNDays, kEveryWeekday };
enum class MonthForm { kDayOfMonth, kNthWeekday };
enum class YearForm { kDate, kNthWeekday };
enum class RangeEnd { kAfterCount, kByDate };

// The pattern dialog's fixed combo items, in order; a pattern holds indices into them.
inline constexpr std::array<std::string_view, 4> kKindNames = {"Day", "Week", "Month", "Year"};
inline constexpr std::array<std::string_view, 5> kNthNames = {"first", "second", "third", "fourth",
                                                              "last"};
inline constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
inline constexpr int kLastNth = 4;

// The settings of a recurring due while its pattern is being chosen; never stored. Number
// settings are the texts of their fields, read with LeadingInteger. Weekday and month indices
// count from 0 (Sunday, January).
struct RecurrencePattern {
  RecurrenceKind kind = RecurrenceKind::kDay;

  DayForm dayForm = DayForm::kEveryNDays;
  std::string dayInterval = "3";

  std::string weekInterval = "2";
  std::array<bool, 7> weekdays{};  // Sunday to Saturday

  MonthForm monthForm = MonthForm::kDayOfMonth;
  std::string monthDay;
  std::string monthIntervalDayForm = "1";
  int monthNth = 0;
  int monthWeekday = 0;
  std::string monthIntervalNthForm = "1";

  YearForm yearForm = YearForm::kDate;
  int yearDateMonth = 0;
  std::string yearDay;
  int yearNth = 0;
  int yearWeekday = 0;
  int yearNthMonth = 0;

  OleDateTime rangeStart;
  RangeEnd rangeEnd = RangeEnd::kAfterCount;
  std::string count = "10";
  OleDateTime endBy;

  // Moves stored due dates only; the occurrences and the range stay the pattern's.
  WeekendShift weekendShift = WeekendShift::kKeep;

  // The settings a new pattern dialog starts from: today's weekday ticked and chosen, the nth
  // taken as the day of the month divided by 7, the current month, today's day of the month, and
  // both range dates at now.
  static RecurrencePattern Defaults(OleDateTime now);
};

// The leading decimal integer of a text, read as a "%d" scan reads it: blanks and a sign may
// precede the digits, and a text without digits (the empty text too) is 0. Values beyond the
// int range are clamped.
int LeadingInteger(std::string_view text);

// 28..31 days for a month index 0 (January) to 11 (December) of a Gregorian year.
int DaysInMonth(int monthIndex, int year);

}  // namespace paylark

#include "core/recurrence/recurrence_pattern.h"

#include <climits>
#include <cstdint>

namespace paylark {

RecurrencePattern RecurrencePattern::Defaults(OleDateTime now) {
  const CivilDateTime today = now.ToCivil();
  const std::string dayText = std::to_string(today.day);
  const int weekday = today.dayOfWeek - 1;
  const int nth = today.day / 7;
  const int month = today.month - 1;

  RecurrencePattern pattern;
  pattern.weekdays[static_cast<std::size_t>(weekday)] = true;
  pattern.monthDay = dayText;
  pattern.monthNth = nth;
  pattern.monthWeekday = weekday;
  pattern.yearDateMonth = month;
  pattern.yearDay = dayText;
  pattern.yearNth = nth;
  pattern.yearWeekday = weekday;
  pattern.yearNthMonth = month;
  pattern.rangeStart = now;
  pattern.endBy = now;
  return pattern;
}

int LeadingInteger(std::string_view text) {
  std::size_t at = 0;
  auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (at < text.size() && isBlank(text[at]))
    ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  std::int64_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > static_cast<std::int64_t>(INT_MAX) + 1)
      value = static_cast<std::int64_t>(INT_MAX) + 1;
  }
  if (negative)
    return static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int DaysInMonth(int monthIndex, int year) {
  return DaysInCivilMonth(year, monthIndex + 1);
}

}  // namespace paylark

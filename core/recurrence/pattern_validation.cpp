#include "core/recurrence/pattern_validation.h"

#include <algorithm>

namespace paylark {
namespace {

bool IsPositive(const std::string& text) {
  return LeadingInteger(text) > 0;
}

bool IsDayOfMonth(const std::string& text) {
  const int day = LeadingInteger(text);
  return day > 0 && day <= 31;
}

Message Refusal(MessageId id) {
  return Message{id, {}, 0, {}};
}

// A day that month never has, leap years granting 29 February.
bool MonthLacksDay(int monthIndex, int day) {
  constexpr int kApril = 3, kJune = 5, kSeptember = 8, kNovember = 10, kFebruary = 1;
  if (day == 31) {
    for (int shortMonth : {kApril, kJune, kSeptember, kNovember}) {
      if (monthIndex == shortMonth)
        return true;
    }
  }
  return monthIndex == kFebruary && (day == 30 || day == 31);
}

std::optional<Message> ValidateMonth(const RecurrencePattern& pattern) {
  if (pattern.monthForm == MonthForm::kNthWeekday) {
    if (!IsPositive(pattern.monthIntervalNthForm)) {
      return Refusal(MessageId::kInvalidRecurrenceMonth);
    }
    return std::nullopt;
  }
  if (!IsPositive(pattern.monthIntervalDayForm))
    return Refusal(MessageId::kInvalidRecurrenceMonth);
  if (!IsDayOfMonth(pattern.monthDay))
    return Refusal(MessageId::kInvalidRecurrenceDay);
  return std::nullopt;
}

std::optional<Message> ValidateYear(const RecurrencePattern& pattern) {
  if (pattern.yearForm == YearForm::kNthWeekday)
    return std::nullopt;
  if (!IsDayOfMonth(pattern.yearDay))
    return Refusal(MessageId::kInvalidRecurrenceDay);
  const int month = std::clamp(pattern.yearDateMonth, 0, 11);
  const int day = LeadingInteger(pattern.yearDay);
  if (MonthLacksDay(month, day)) {
    return Message{MessageId::kMonthLacksDate,
                   std::string(kMonthNames[static_cast<std::size_t>(month)]),
                   day,
                   {}};
  }
  return std::nullopt;
}

std::optional<Message> ValidateKind(const RecurrencePattern& pattern) {
  switch (pattern.kind) {
    case RecurrenceKind::kDay:
      if (pattern.dayForm == DayForm::kEveryNDays && !IsPositive(pattern.dayInterval)) {
        return Refusal(MessageId::kInvalidRecurrenceDay);
      }
      return std::nullopt;
    case RecurrenceKind::kWeek:
      if (!IsPositive(pattern.weekInterval))
        return Refusal(MessageId::kInvalidRecurrenceWeek);
      // The dialog never lets the set become empty; other callers are held to the same rule.
      if (std::none_of(pattern.weekdays.begin(), pattern.weekdays.end(),
                       [](bool ticked) { return ticked; })) {
        return Refusal(MessageId::kSelectOneDay);
      }
      return std::nullopt;
    case RecurrenceKind::kMonth:
      return ValidateMonth(pattern);
    case RecurrenceKind::kYear:
      return ValidateYear(pattern);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Message> ValidatePattern(const RecurrencePattern& pattern) {
  if (std::optional<Message> refusal = ValidateKind(pattern))
    return refusal;
  if (pattern.rangeEnd == RangeEnd::kAfterCount && !IsPositive(pattern.count)) {
    return Refusal(MessageId::kInvalidRecurrenceCount);
  }
  return std::nullopt;
}

}  // namespace paylark

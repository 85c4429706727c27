#include "core/recurrence/pattern_validation.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/core/recurrence/recurrence_fixture.h"

namespace paylark {
namespace {

RecurrencePattern Base(RecurrenceKind kind) {
  RecurrencePattern pattern = RecurrencePattern::Defaults(At(2007, 2, 10, 18, 0, 0));
  pattern.kind = kind;
  return pattern;
}

// The texts are taken as strings and moved in: assigning a const char* makes GCC 12 at -O3 warn
// falsely (-Wrestrict) inside std::string.
RecurrencePattern Day(DayForm form, std::string interval, std::string count = "10") {
  RecurrencePattern pattern = Base(RecurrenceKind::kDay);
  pattern.dayForm = form;
  pattern.dayInterval = std::move(interval);
  pattern.count = std::move(count);
  return pattern;
}

RecurrencePattern Week(std::string interval, std::array<bool, 7> weekdays) {
  RecurrencePattern pattern = Base(RecurrenceKind::kWeek);
  pattern.weekInterval = std::move(interval);
  pattern.weekdays = weekdays;
  return pattern;
}

RecurrencePattern Month(MonthForm form, std::string day, std::string months) {
  RecurrencePattern pattern = Base(RecurrenceKind::kMonth);
  pattern.monthForm = form;
  pattern.monthDay = std::move(day);
  (form == MonthForm::kDayOfMonth ? pattern.monthIntervalDayForm : pattern.monthIntervalNthForm) =
      std::move(months);
  return pattern;
}

RecurrencePattern Year(YearForm form, int month, std::string day) {
  RecurrencePattern pattern = Base(RecurrenceKind::kYear);
  pattern.yearForm = form;
  pattern.yearDateMonth = month;
  pattern.yearDay = std::move(day);
  return pattern;
}

RecurrencePattern EndBy(RecurrencePattern pattern) {
  pattern.rangeEnd = RangeEnd::kByDate;
  return pattern;
}

TEST(PatternValidationTest, GivesTheDialogsMessageInItsOrder) {
  constexpr std::array<bool, 7> kMonday = {false, true, false, false, false, false, false};
  const struct {
    const char* name;
    RecurrencePattern pattern;
    const char* message;  // empty when the pattern passes
  } cases[] = {
      {"day 3", Day(DayForm::kEveryNDays, "3"), ""},
      {"day 0", Day(DayForm::kEveryNDays, "0"), "Please enter valid recurrence day"},
      {"day empty", Day(DayForm::kEveryNDays, ""), "Please enter valid recurrence day"},
      {"every weekday, any interval", Day(DayForm::kEveryWeekday, ""), ""},
      {"week -1", Week("-1", kMonday), "Please enter valid recurrence week"},
      {"week without a day", Week("2", {}), "Atleast one day should be selected!"},
      {"month day 0 months 0", Month(MonthForm::kDayOfMonth, "0", "0"),
       "Please enter valid recurrence month"},
      {"month day 32", Month(MonthForm::kDayOfMonth, "32", "1"),
       "Please enter valid recurrence day"},
      {"month day 31", Month(MonthForm::kDayOfMonth, "31", "1"), ""},
      {"month nth ignores the day", Month(MonthForm::kNthWeekday, "", "1"), ""},
      {"month nth months empty", Month(MonthForm::kNthWeekday, "5", ""),
       "Please enter valid recurrence month"},
      {"April 31", Year(YearForm::kDate, 3, "31"), "Month April does not have date 31"},
      {"February 30", Year(YearForm::kDate, 1, "30"), "Month February does not have date 30"},
      {"February 29", Year(YearForm::kDate, 1, "29"), ""},
      {"year day 0", Year(YearForm::kDate, 0, "0"), "Please enter valid recurrence day"},
      {"year nth ignores the day", Year(YearForm::kNthWeekday, 1, ""), ""},
      {"count empty", Day(DayForm::kEveryNDays, "3", ""),
       "Please enter valid number of recurrences"},
      {"pattern before range", Day(DayForm::kEveryNDays, "0", ""),
       "Please enter valid recurrence day"},
      {"end-by ignores the count", EndBy(Day(DayForm::kEveryNDays, "3", "")), ""},
  };
  for (const auto& c : cases) {
    const std::optional<Message> refusal = ValidatePattern(c.pattern);
    EXPECT_EQ(refusal ? MessageText(*refusal) : "", c.message) << c.name;
  }
}

}  // namespace
}  // namespace paylark

#include "core/recurrence/pattern_validation.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/core/recurrence/recurrence_fixture.h"

namespace paylark {
namespace {

struct Case {
  const char* name;
  std::function<void(RecurrencePattern&)> change;
  const char* message;  // empty when the pattern passes
};

std::string Outcome(const RecurrencePattern& pattern) {
  const std::optional<Message> refusal = ValidatePattern(pattern);
  return refusal ? MessageText(*refusal) : "";
}

TEST(PatternValidationTest, GivesTheDialogsMessageInItsOrder) {
  const Case cases[] = {
      {"defaults", [](RecurrencePattern&) {}, ""},
      {"day interval 0", [](RecurrencePattern& p) { p.dayInterval = "0"; },
       "Please enter valid recurrence day"},
      {"day interval empty", [](RecurrencePattern& p) { p.dayInterval = ""; },
       "Please enter valid recurrence day"},
      {"every weekday ignores the interval",
       [](RecurrencePattern& p) {
         p.dayForm = DayForm::kEveryWeekday;
         p.dayInterval = "";
       },
       ""},
      {"week interval -1",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kWeek;
         p.weekInterval = "-1";
       },
       "Please enter valid recurrence week"},
      {"week without a day",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kWeek;
         p.weekdays = {};
       },
       "Atleast one day should be selected!"},
      {"month day 0 and months 0",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kMonth;
         p.monthDay = "0";
         p.monthIntervalDayForm = "0";
       },
       "Please enter valid recurrence month"},
      {"month day 32",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kMonth;
         p.monthDay = "32";
       },
       "Please enter valid recurrence day"},
      {"month day 31 passes",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kMonth;
         p.monthDay = "31";
       },
       ""},
      {"month nth form ignores the day",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kMonth;
         p.monthForm = MonthForm::kNthWeekday;
         p.monthDay = "";
       },
       ""},
      {"month nth form interval empty",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kMonth;
         p.monthForm = MonthForm::kNthWeekday;
         p.monthIntervalNthForm = "";
       },
       "Please enter valid recurrence month"},
      {"year April 31",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kYear;
         p.yearDateMonth = 3;
         p.yearDay = "31";
       },
       "Month April does not have date 31"},
      {"year February 30",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kYear;
         p.yearDateMonth = 1;
         p.yearDay = "30";
       },
       "Month February does not have date 30"},
      {"year February 29 passes",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kYear;
         p.yearDateMonth = 1;
         p.yearDay = "29";
       },
       ""},
      {"year day 0",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kYear;
         p.yearDay = "0";
       },
       "Please enter valid recurrence day"},
      {"year nth form passes whatever the day",
       [](RecurrencePattern& p) {
         p.kind = RecurrenceKind::kYear;
         p.yearForm = YearForm::kNthWeekday;
         p.yearDay = "";
       },
       ""},
      {"count empty", [](RecurrencePattern& p) { p.count = ""; },
       "Please enter valid number of recurrences"},
      {"pattern before range",
       [](RecurrencePattern& p) {
         p.count = "";
         p.dayInterval = "0";
       },
       "Please enter valid recurrence day"},
      {"end by ignores the count",
       [](RecurrencePattern& p) {
         p.count = "";
         p.rangeEnd = RangeEnd::kByDate;
       },
       ""},
      {"other kinds are not looked at",
       [](RecurrencePattern& p) {
         p.weekInterval = "";
         p.monthDay = "99";
         p.yearDay = "";
       },
       ""},
  };
  for (const Case& c : cases) {
    RecurrencePattern pattern = RecurrencePattern::Defaults(At(2007, 2, 10, 18, 0, 0));
    c.change(pattern);
    EXPECT_EQ(Outcome(pattern), c.message) << c.name;
  }
}

}  // namespace
}  // namespace paylark

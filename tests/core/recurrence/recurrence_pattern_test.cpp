#include "core/recurrence/recurrence_pattern.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/core/recurrence/recurrence_fixture.h"

namespace paylark {
namespace {

TEST(LeadingIntegerTest, ReadsLikeAScanOfOneInteger) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"", 0},
               {"3", 3},
               {"12abc", 12},
               {"  7", 7},
               {"-3", -3},
               {"+4", 4},
               {"abc", 0},
               {"0010", 10},
               {"- 5", 0},
               {"2147483647", 2147483647},
               {"99999999999", 2147483647},
               {"-99999999999", -2147483647 - 1}};
  for (const auto& c : cases)
    EXPECT_EQ(LeadingInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(DaysInMonthTest, FebruaryFollowsTheGregorianLeapRule) {
  EXPECT_EQ(DaysInMonth(1, 1900), 28);
  EXPECT_EQ(DaysInMonth(1, 2000), 29);
  EXPECT_EQ(DaysInMonth(1, 2004), 29);
  EXPECT_EQ(DaysInMonth(1, 2100), 28);
  EXPECT_EQ(DaysInMonth(1, 2007), 28);
  EXPECT_EQ(DaysInMonth(0, 2007), 31);
  EXPECT_EQ(DaysInMonth(3, 2007), 30);
  EXPECT_EQ(DaysInMonth(10, 2007), 30);
  EXPECT_EQ(DaysInMonth(11, 2007), 31);
}

TEST(RecurrencePatternTest, DefaultsComeFromNow) {
  const OleDateTime now = At(2007, 2, 10, 18, 0, 0);  // a Saturday
  const RecurrencePattern pattern = RecurrencePattern::Defaults(now);
  EXPECT_EQ(pattern.kind, RecurrenceKind::kDay);
  EXPECT_EQ(pattern.dayForm, DayForm::kEveryNDays);
  EXPECT_EQ(pattern.dayInterval, "3");
  EXPECT_EQ(pattern.weekInterval, "2");
  EXPECT_EQ(pattern.weekdays,
            (std::array<bool, 7>{false, false, false, false, false, false, true}));
  EXPECT_EQ(pattern.monthForm, MonthForm::kDayOfMonth);
  EXPECT_EQ(pattern.monthDay, "10");
  EXPECT_EQ(pattern.monthIntervalDayForm, "1");
  EXPECT_EQ(pattern.monthIntervalNthForm, "1");
  EXPECT_EQ(pattern.monthNth, 1);
  EXPECT_EQ(pattern.monthWeekday, 6);
  EXPECT_EQ(pattern.yearForm, YearForm::kDate);
  EXPECT_EQ(pattern.yearDateMonth, 1);
  EXPECT_EQ(pattern.yearDay, "10");
  EXPECT_EQ(pattern.yearNth, 1);
  EXPECT_EQ(pattern.yearWeekday, 6);
  EXPECT_EQ(pattern.yearNthMonth, 1);
  EXPECT_EQ(pattern.rangeEnd, RangeEnd::kAfterCount);
  EXPECT_EQ(pattern.count, "10");
  EXPECT_EQ(pattern.rangeStart, now);
  EXPECT_EQ(pattern.endBy, now);
}

TEST(RecurrencePatternTest, NthIsTheDayDividedBySeven) {
  EXPECT_EQ(RecurrencePattern::Defaults(At(2007, 3, 6)).monthNth, 0);
  EXPECT_EQ(RecurrencePattern::Defaults(At(2007, 3, 7)).monthNth, 1);
  EXPECT_EQ(RecurrencePattern::Defaults(At(2007, 3, 27)).monthNth, 3);
  EXPECT_EQ(RecurrencePattern::Defaults(At(2007, 3, 28)).yearNth, 4);
  EXPECT_EQ(RecurrencePattern::Defaults(At(2007, 3, 31)).yearNth, 4);
}

}  // namespace
}  // namespace paylark

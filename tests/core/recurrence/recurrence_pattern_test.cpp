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

TEST(DaysInMonthTest, MonthLengthsAndTheGregorianLeapRule) {
  EXPECT_EQ(DaysInMonth(1, 1900), 28);
  EXPECT_EQ(DaysInMonth(1, 2000), 29);
  EXPECT_EQ(DaysInMonth(1, 2004), 29);
  EXPECT_EQ(DaysInMonth(1, 2100), 28);
  EXPECT_EQ(DaysInMonth(3, 2007) + DaysInMonth(11, 2007), 61);
}

TEST(RecurrencePatternTest, DefaultsComeFromNow) {
  const OleDateTime now = At(2007, 2, 10, 18, 0, 0);  // a Saturday
  const RecurrencePattern p = RecurrencePattern::Defaults(now);
  EXPECT_EQ(p.kind, RecurrenceKind::kDay);
  EXPECT_EQ(p.dayInterval + p.weekInterval + p.monthIntervalDayForm + p.monthIntervalNthForm,
            "3211");
  EXPECT_EQ(p.weekdays, (std::array<bool, 7>{false, false, false, false, false, false, true}));
  EXPECT_EQ(p.monthDay + "/" + p.yearDay, "10/10");
  EXPECT_EQ((std::array{p.monthNth, p.yearNth, p.monthWeekday, p.yearWeekday, p.yearDateMonth,
                        p.yearNthMonth}),
            (std::array{1, 1, 6, 6, 1, 1}));
  EXPECT_EQ(p.count, "10");
  EXPECT_EQ(p.rangeEnd, RangeEnd::kAfterCount);
  EXPECT_EQ(p.rangeStart, now);
  EXPECT_EQ(p.endBy, now);
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

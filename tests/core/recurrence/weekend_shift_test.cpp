#include "core/recurrence/weekend_shift.h"

#include <gtest/gtest.h>

#include "core/records/month_selection.h"
#include "core/recurrence/new_due.h"
#include "core/recurrence/series_generation.h"
#include "tests/core/recurrence/recurrence_fixture.h"

namespace paylark {
namespace {

// 2026 starts on a Thursday: 3 and 31 January are Saturdays, 1 February is a Sunday.
class WeekendShiftTest : public StoreTest {
 protected:
  // The stored due dates ("YYYY-MM-DD HH:MM", blank-separated) of the finished series, once for
  // each direction: "before | after".
  std::string Dues(RecurrencePattern pattern, DueOffset offset = {0}) {
    std::string both;
    for (WeekendShift shift : {WeekendShift::kFridayBefore, WeekendShift::kMondayAfter}) {
      pattern.weekendShift = shift;
      offset.weekend = shift;
      const SeriesResult series = GenerateSeries(pattern, store_, clock_);
      EXPECT_TRUE(series.success) << series.status.message();
      EXPECT_TRUE(CompletePlaceholders(store_, series.recordIds, DueRecord{}, offset).ok());
      std::string dates;
      for (const std::string& id : series.recordIds)
        dates += (dates.empty() ? "" : " ") + Text(store_.Get(id).dueDate).substr(0, 16);
      both += (both.empty() ? "" : " | ") + dates;
    }
    return both;
  }
};

TEST_F(WeekendShiftTest, OnlyWeekendDaysMoveAndKeepTheirTime) {
  const OleDateTime saturday = At(2026, 1, 3, 18, 30);
  EXPECT_EQ(Text(*ShiftOffWeekend(saturday, WeekendShift::kKeep)), "2026-01-03 18:30:00");
  EXPECT_EQ(Text(*ShiftOffWeekend(saturday, WeekendShift::kFridayBefore)), "2026-01-02 18:30:00");
  EXPECT_EQ(Text(*ShiftOffWeekend(saturday, WeekendShift::kMondayAfter)), "2026-01-05 18:30:00");
  EXPECT_EQ(Text(*ShiftOffWeekend(At(2026, 1, 4), WeekendShift::kFridayBefore)),
            "2026-01-02 00:00:00");
  EXPECT_EQ(Text(*ShiftOffWeekend(At(2026, 1, 4), WeekendShift::kMondayAfter)),
            "2026-01-05 00:00:00");
  EXPECT_EQ(Text(*ShiftOffWeekend(At(2026, 1, 2), WeekendShift::kMondayAfter)),
            "2026-01-02 00:00:00");
}

// Every form of every kind moves its dues, across into the neighbouring month where it must.
TEST_F(WeekendShiftTest, EachFormMovesItsDues) {
  EXPECT_EQ(Dues(Pattern(RecurrenceKind::kDay, At(2026, 1, 2, 9), 4)),
            "2026-01-02 09:00 2026-01-05 09:00 2026-01-08 09:00 2026-01-09 09:00 | "
            "2026-01-02 09:00 2026-01-05 09:00 2026-01-08 09:00 2026-01-12 09:00");
  RecurrencePattern weekly = Pattern(RecurrenceKind::kDay, At(2026, 1, 3), 2);
  weekly.dayForm = DayForm::kEveryWeekday;
  EXPECT_EQ(Dues(weekly), "2026-01-02 00:00 2026-01-09 00:00 | 2026-01-05 00:00 2026-01-12 00:00");

  RecurrencePattern weekend = Pattern(RecurrenceKind::kWeek, At(2026, 1, 1), 2);
  weekend.weekInterval = "1";
  weekend.weekdays = {true, false, false, false, false, false, true};
  EXPECT_EQ(Dues(weekend), "2026-01-02 00:00 2026-01-02 00:00 | 2026-01-05 00:00 2026-01-05 00:00");

  RecurrencePattern last = Pattern(RecurrenceKind::kMonth, At(2026, 1, 1), 3);
  last.monthDay = "31";
  EXPECT_EQ(Dues(last),
            "2026-01-30 00:00 2026-02-27 00:00 2026-03-31 00:00 | "
            "2026-02-02 00:00 2026-03-02 00:00 2026-03-31 00:00");
  RecurrencePattern firstSaturday = Pattern(RecurrenceKind::kMonth, At(2026, 1, 1), 2);
  firstSaturday.monthForm = MonthForm::kNthWeekday;
  firstSaturday.monthNth = 0;
  firstSaturday.monthWeekday = 6;
  EXPECT_EQ(Dues(firstSaturday),
            "2026-01-02 00:00 2026-02-06 00:00 | 2026-01-05 00:00 2026-02-09 00:00");

  RecurrencePattern february = Pattern(RecurrenceKind::kYear, At(2026, 1, 1), 2);
  february.yearDateMonth = 1;
  february.yearDay = "1";
  EXPECT_EQ(Dues(february),
            "2026-01-30 00:00 2027-02-01 00:00 | 2026-02-02 00:00 2027-02-01 00:00");
  RecurrencePattern lastSunday = Pattern(RecurrenceKind::kYear, At(2026, 1, 1), 2);
  lastSunday.yearForm = YearForm::kNthWeekday;
  lastSunday.yearNth = kLastNth;
  lastSunday.yearWeekday = 0;
  lastSunday.yearNthMonth = 2;
  EXPECT_EQ(Dues(lastSunday),
            "2026-03-27 00:00 2027-03-26 00:00 | 2026-03-30 00:00 2027-03-29 00:00");
}

TEST_F(WeekendShiftTest, TheDueDateMovesNotTheOccurrence) {
  // Fridays fall due on Saturday 18:00 by the offset; the start dates stay Fridays.
  RecurrencePattern fridays = Pattern(RecurrenceKind::kDay, At(2026, 1, 2), 2);
  fridays.dayInterval = "7";
  EXPECT_EQ(Dues(fridays, DueOffset{1, 18}),
            "2026-01-02 18:00 2026-01-09 18:00 | 2026-01-05 18:00 2026-01-12 18:00");
  store_.map().ForEach([](const DueRecord& record) {
    EXPECT_EQ(record.startDate.DayOfWeek(), 6) << Text(record.startDate);
  });
}

TEST_F(WeekendShiftTest, AMovedDueListsInItsNewMonthAndTheRangeStaysThePattern) {
  // Saturday 31 January moved after, Sunday 1 February moved before; the end-by date still
  // decides which occurrences exist, wherever their dues land.
  RecurrencePattern daily = Pattern(RecurrenceKind::kDay, At(2026, 1, 31, 8), 0);
  daily.dayInterval = "1";
  daily.rangeEnd = RangeEnd::kByDate;
  daily.endBy = At(2026, 2, 1, 23, 59, 59);
  for (WeekendShift shift : {WeekendShift::kMondayAfter, WeekendShift::kFridayBefore}) {
    daily.weekendShift = shift;
    const SeriesResult series = GenerateSeries(daily, store_, clock_);
    ASSERT_EQ(series.recordIds.size(), 2u);
    DueOffset offset{0};
    offset.weekend = shift;
    ASSERT_TRUE(CompletePlaceholders(store_, series.recordIds, DueRecord{}, offset).ok());
  }
  auto listed = [this](int month) {
    return MonthFill(store_, At(2026, month, 1), MonthFilter::kAll).rows.size();
  };
  EXPECT_EQ(listed(1), 2u);  // both moved before, to Friday 30 January
  EXPECT_EQ(listed(2), 2u);  // both moved after, to Monday 2 February
}

}  // namespace
}  // namespace paylark

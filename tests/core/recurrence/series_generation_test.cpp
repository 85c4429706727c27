#include "core/recurrence/series_generation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/core/recurrence/recurrence_fixture.h"

namespace paylark {
namespace {

using Dates = std::vector<std::string>;

class SeriesGenerationTest : public StoreTest {
 protected:
  RecurrencePattern Pattern(RecurrenceKind kind, OleDateTime start, int count) {
    RecurrencePattern pattern = RecurrencePattern::Defaults(start);
    pattern.kind = kind;
    pattern.count = std::to_string(count);
    return pattern;
  }

  static void EndBy(RecurrencePattern& pattern, OleDateTime endBy) {
    pattern.rangeEnd = RangeEnd::kByDate;
    pattern.endBy = endBy;
  }

  Dates Generate(const RecurrencePattern& pattern) {
    result_ = GenerateSeries(pattern, store_, clock_);
    EXPECT_TRUE(result_.success) << result_.status.message();
    return StartDates(result_.recordIds);
  }

  SeriesResult result_;
};

TEST_F(SeriesGenerationTest, DayPlaceholdersCarryTheRangeAndTheGenerationMoment) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kDay, At(2007, 3, 5, 9, 30), 10);
  const Dates dates = Generate(pattern);
  ASSERT_EQ(dates.size(), 10u);
  EXPECT_EQ(dates.front(), "2007-03-05 09:30:00");
  EXPECT_EQ(dates[1], "2007-03-08 09:30:00");
  EXPECT_EQ(dates.back(), "2007-04-01 09:30:00");
  EXPECT_EQ(result_.seriesId, "recId20070201090000");
  for (const auto& id : result_.recordIds) {
    const DueRecord record = store_.Get(id);
    EXPECT_EQ(record.dueDate, clock_.Now());
    EXPECT_EQ(record.seriesId, result_.seriesId);
    EXPECT_EQ(record.title + record.payTo + record.account + record.notes, "");
    EXPECT_EQ(record.amount, 0.0);
    EXPECT_EQ(record.type, 1);
    EXPECT_EQ(record.paid, 0);
  }
}

TEST_F(SeriesGenerationTest, EveryWeekdayRepeatsTheStartsWeekday) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kDay, At(2007, 3, 7, 8), 3);  // Wednesday
  pattern.dayForm = DayForm::kEveryWeekday;
  EXPECT_EQ(Generate(pattern),
            (Dates{"2007-03-07 08:00:00", "2007-03-14 08:00:00", "2007-03-21 08:00:00"}));
}

TEST_F(SeriesGenerationTest, TheRangeStartIsAlwaysTheFirstDayOccurrence) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kDay, At(2007, 3, 7, 8), 3);
  EndBy(pattern, At(2007, 3, 1));
  EXPECT_EQ(Generate(pattern), (Dates{"2007-03-07 08:00:00"}));
}

TEST_F(SeriesGenerationTest, WeeksSkipIntervalsAndTheStartWeeksEarlierDays) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kWeek, At(2007, 3, 7, 8), 4);  // Wednesday
  pattern.weekdays = {false, true, false, false, true, false, false};                // Mon, Thu
  EXPECT_EQ(Generate(pattern), (Dates{"2007-03-08 08:00:00", "2007-03-19 08:00:00",
                                      "2007-03-22 08:00:00", "2007-04-02 08:00:00"}));
}

TEST_F(SeriesGenerationTest, WeekEndByComparesTheTimeOfDay) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kWeek, At(2007, 3, 7, 9), 0);
  pattern.weekInterval = "1";
  pattern.weekdays = {false, true, false, false, true, false, false};
  EndBy(pattern, At(2007, 3, 20, 23, 59, 59));
  EXPECT_EQ(Generate(pattern).back(), "2007-03-19 09:00:00");
  EndBy(pattern, At(2007, 3, 19, 8, 0, 0));
  EXPECT_EQ(Generate(pattern).back(), "2007-03-15 09:00:00");
}

TEST_F(SeriesGenerationTest, MonthDayIsClampedToShortMonths) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kMonth, At(2007, 1, 10, 7, 15), 3);
  pattern.monthDay = "31";
  EXPECT_EQ(Generate(pattern),
            (Dates{"2007-01-31 07:15:00", "2007-02-28 07:15:00", "2007-03-31 07:15:00"}));
}

TEST_F(SeriesGenerationTest, MonthDayBeforeTheStartBeginsInTheNextPeriod) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kMonth, At(2007, 3, 10, 8), 2);
  pattern.monthDay = "5";
  EXPECT_EQ(Generate(pattern), (Dates{"2007-04-05 08:00:00", "2007-05-05 08:00:00"}));
}

TEST_F(SeriesGenerationTest, MonthIntervalsOfTwelveAndMoreCarryWholeYears) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kMonth, At(2007, 1, 1), 3);
  pattern.monthDay = "15";
  pattern.monthIntervalDayForm = "12";
  EXPECT_EQ(Generate(pattern),
            (Dates{"2007-01-15 00:00:00", "2008-01-15 00:00:00", "2009-01-15 00:00:00"}));
  pattern.monthIntervalDayForm = "26";
  EXPECT_EQ(Generate(pattern),
            (Dates{"2007-01-15 00:00:00", "2009-03-15 00:00:00", "2011-05-15 00:00:00"}));
}

TEST_F(SeriesGenerationTest, TwentyNinthOfFebruaryEveryFourYearsMissesOnlyCenturies) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kMonth, At(2000, 2, 1), 27);
  pattern.monthDay = "29";
  pattern.monthIntervalDayForm = "48";
  const Dates dates = Generate(pattern);
  ASSERT_EQ(dates.size(), 27u);
  EXPECT_EQ(dates[0], "2000-02-29 00:00:00");
  EXPECT_EQ(dates[1], "2004-02-29 00:00:00");
  EXPECT_EQ(dates[24], "2096-02-29 00:00:00");
  EXPECT_EQ(dates[25], "2100-02-28 00:00:00");
  EXPECT_EQ(dates[26], "2104-02-29 00:00:00");
}

TEST_F(SeriesGenerationTest, YearlyTwentyNinthOfFebruaryFallsOnTheTwentyEighthInCommonYears) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kYear, At(1896, 1, 1, 12), 9);
  pattern.yearDateMonth = 1;
  pattern.yearDay = "29";
  const Dates dates = Generate(pattern);
  ASSERT_EQ(dates.size(), 9u);
  EXPECT_EQ(dates[0], "1896-02-29 12:00:00");
  EXPECT_EQ(dates[1], "1897-02-28 12:00:00");
  EXPECT_EQ(dates[4], "1900-02-28 12:00:00");
  EXPECT_EQ(dates[8], "1904-02-29 12:00:00");
}

TEST_F(SeriesGenerationTest, YearDateAlreadyPastBeginsNextYear) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kYear, At(2007, 6, 1), 1);
  pattern.yearDateMonth = 2;
  pattern.yearDay = "5";
  EXPECT_EQ(Generate(pattern), (Dates{"2008-03-05 00:00:00"}));
}

TEST_F(SeriesGenerationTest, NthWeekdayOfTheMonth) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kMonth, At(2007, 5, 1), 1);  // a Tuesday
  pattern.monthForm = MonthForm::kNthWeekday;
  pattern.monthNth = 1;
  pattern.monthWeekday = 0;
  EXPECT_EQ(Generate(pattern), (Dates{"2007-05-13 00:00:00"}));
  pattern.rangeStart = At(2007, 8, 1);  // 31 August 2007 is a Friday
  pattern.monthNth = kLastNth;
  pattern.monthWeekday = 5;
  EXPECT_EQ(Generate(pattern), (Dates{"2007-08-31 00:00:00"}));
}

TEST_F(SeriesGenerationTest, NthWeekdayOfFebruaryHonoursLeapYears) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kYear, At(2003, 1, 1), 3);
  pattern.yearForm = YearForm::kNthWeekday;
  pattern.yearNthMonth = 1;
  pattern.yearNth = kLastNth;
  pattern.yearWeekday = 0;
  EXPECT_EQ(Generate(pattern),
            (Dates{"2003-02-23 00:00:00", "2004-02-29 00:00:00", "2005-02-27 00:00:00"}));
  pattern.rangeStart = At(2015, 1, 1);
  pattern.count = "2";
  pattern.yearNth = 3;
  EXPECT_EQ(Generate(pattern), (Dates{"2015-02-22 00:00:00", "2016-02-28 00:00:00"}));
}

TEST_F(SeriesGenerationTest, FirstCandidateAfterEndByYieldsNothing) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kMonth, At(2007, 3, 10), 0);
  pattern.monthDay = "5";
  EndBy(pattern, At(2007, 3, 31, 23, 59, 59));
  EXPECT_EQ(Generate(pattern), Dates{});
  EXPECT_EQ(store_.size(), 0u);
}

TEST_F(SeriesGenerationTest, SeriesStopBeforeTheLastRepresentableYear) {
  RecurrencePattern yearly = Pattern(RecurrenceKind::kYear, At(9997, 1, 1), 10);
  yearly.yearDateMonth = 0;
  yearly.yearDay = "1";
  EXPECT_EQ(Generate(yearly).size(), 3u);
  RecurrencePattern daily = Pattern(RecurrenceKind::kDay, At(9999, 12, 30), 10);
  daily.dayInterval = "1";
  EXPECT_EQ(Generate(daily), (Dates{"9999-12-30 00:00:00", "9999-12-31 00:00:00"}));
}

TEST_F(SeriesGenerationTest, RefusedPatternsStoreNothingButTakeASeriesId) {
  const std::function<void(RecurrencePattern&)> refusals[] = {
      [](RecurrencePattern& p) { p.count = ""; },
      [](RecurrencePattern& p) { p.dayInterval = "0"; },
      [](RecurrencePattern& p) {
        p.kind = RecurrenceKind::kWeek;
        p.weekInterval = "";
      },
      [](RecurrencePattern& p) {
        p.kind = RecurrenceKind::kMonth;
        p.monthDay = "32";
      },
      [](RecurrencePattern& p) {
        p.kind = RecurrenceKind::kYear;
        p.yearDateMonth = 10;
        p.yearDay = "31";
      },
  };
  std::set<std::string> seriesIds;
  for (const auto& refuse : refusals) {
    RecurrencePattern pattern = Pattern(RecurrenceKind::kDay, At(2007, 3, 5), 10);
    refuse(pattern);
    const SeriesResult result = GenerateSeries(pattern, store_, clock_);
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.status.code(), StatusCode::kInvalidArgument);
    EXPECT_TRUE(result.recordIds.empty());
    seriesIds.insert(result.seriesId);
  }
  EXPECT_EQ(seriesIds.size(), std::size(refusals));
  EXPECT_EQ(store_.size(), 0u);
  EXPECT_EQ(store_.Reload().loaded, 0u);
}

TEST_F(SeriesGenerationTest, LongSeriesWithinOneSecondGetUniqueIds) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kDay, At(2007, 3, 5), 250);
  pattern.dayInterval = "1";
  ASSERT_EQ(Generate(pattern).size(), 250u);
  const std::set<std::string> unique(result_.recordIds.begin(), result_.recordIds.end());
  EXPECT_EQ(unique.size(), 250u);
  EXPECT_EQ(result_.recordIds[0], "2007020109000001");
  EXPECT_EQ(result_.recordIds[98].substr(14), "99");
  EXPECT_EQ(result_.recordIds[99].substr(14), "01");
  EXPECT_EQ(store_.Reload().loaded, 250u);
}

TEST_F(SeriesGenerationTest, FailedWriteStopsTheRunAndIsReported) {
  std::filesystem::remove_all(RecordsFolder());
  RecurrencePattern pattern = Pattern(RecurrenceKind::kDay, At(2007, 3, 5), 10);
  const SeriesResult result = GenerateSeries(pattern, store_, clock_);
  EXPECT_FALSE(result.success);
  EXPECT_EQ(result.status.code(), StatusCode::kIoError);
  EXPECT_EQ(result.recordIds.size(), 1u);
}

}  // namespace
}  // namespace paylark

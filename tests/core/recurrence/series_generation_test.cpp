#include "core/recurrence/series_generation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tests/core/recurrence/recurrence_fixture.h"

namespace paylark {
namespace {

using Dates = std::vector<std::string>;

class SeriesGenerationTest : public StoreTest {
 protected:
  static RecurrencePattern EndBy(RecurrencePattern pattern, OleDateTime endBy) {
    pattern.rangeEnd = RangeEnd::kByDate;
    pattern.endBy = endBy;
    return pattern;
  }

  // The start dates in series order, "YYYY-MM-DD HH:MM".
  Dates Generate(const RecurrencePattern& pattern) {
    result_ = GenerateSeries(pattern, store_, clock_);
    EXPECT_TRUE(result_.success) << result_.status.message();
    Dates dates;
    for (const std::string& date : StartDates(result_.recordIds))
      dates.push_back(date.substr(0, std::string_view("YYYY-MM-DD HH:MM").size()));
    return dates;
  }

  SeriesResult result_;
};

TEST_F(SeriesGenerationTest, PlaceholdersCarryTheOccurrenceAndTheGenerationMoment) {
  EXPECT_EQ(Generate(Pattern(RecurrenceKind::kDay, At(2007, 3, 5, 9, 30), 10)),
            (Dates{"2007-03-05 09:30", "2007-03-08 09:30", "2007-03-11 09:30", "2007-03-14 09:30",
                   "2007-03-17 09:30", "2007-03-20 09:30", "2007-03-23 09:30", "2007-03-26 09:30",
                   "2007-03-29 09:30", "2007-04-01 09:30"}));
  EXPECT_EQ(result_.seriesId, "recId20070201090000");
  DueRecord expected;
  expected.startDate = store_.Get(result_.recordIds[3]).startDate;
  expected.dueDate = clock_.Now();
  expected.seriesId = result_.seriesId;
  expected.recordId = result_.recordIds[3];
  EXPECT_EQ(store_.Get(result_.recordIds[3]), expected);
}

TEST_F(SeriesGenerationTest, DayForms) {
  RecurrencePattern weekday = Pattern(RecurrenceKind::kDay, At(2007, 3, 7, 8), 3);  // Wednesday
  weekday.dayForm = DayForm::kEveryWeekday;
  EXPECT_EQ(Generate(weekday), (Dates{"2007-03-07 08:00", "2007-03-14 08:00", "2007-03-21 08:00"}));
  // The range start is always the first occurrence.
  EXPECT_EQ(Generate(EndBy(weekday, At(2007, 3, 1))), Dates{"2007-03-07 08:00"});
}

TEST_F(SeriesGenerationTest, WeeksSkipIntervalsAndTheStartWeeksEarlierDays) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kWeek, At(2007, 3, 7, 9), 4);  // Wednesday
  pattern.weekdays = {false, true, false, false, true, false, false};                // Mon, Thu
  EXPECT_EQ(Generate(pattern), (Dates{"2007-03-08 09:00", "2007-03-19 09:00", "2007-03-22 09:00",
                                      "2007-04-02 09:00"}));
  pattern.weekInterval = "1";
  EXPECT_EQ(
      Generate(EndBy(pattern, At(2007, 3, 20, 23, 59, 59))),
      (Dates{"2007-03-08 09:00", "2007-03-12 09:00", "2007-03-15 09:00", "2007-03-19 09:00"}));
  // End-by compares the time of day too.
  EXPECT_EQ(Generate(EndBy(pattern, At(2007, 3, 19, 8))),
            (Dates{"2007-03-08 09:00", "2007-03-12 09:00", "2007-03-15 09:00"}));
}

TEST_F(SeriesGenerationTest, MonthDaysAreClampedAndBeginWithinTheRange) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kMonth, At(2007, 1, 10, 7, 15), 3);
  pattern.monthDay = "31";
  EXPECT_EQ(Generate(pattern), (Dates{"2007-01-31 07:15", "2007-02-28 07:15", "2007-03-31 07:15"}));
  pattern.monthDay = "5";
  pattern.monthIntervalDayForm = "12";
  EXPECT_EQ(Generate(pattern), (Dates{"2008-01-05 07:15", "2009-01-05 07:15", "2010-01-05 07:15"}));
  // The first candidate already lies after end-by: nothing at all.
  EXPECT_EQ(Generate(EndBy(pattern, At(2007, 1, 31, 23, 59, 59))), Dates{});
}

TEST_F(SeriesGenerationTest, TwentyNinthOfFebruaryEveryFourYearsMissesOnlyCenturies) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kMonth, At(2000, 2, 1), 27);
  pattern.monthDay = "29";
  pattern.monthIntervalDayForm = "48";  // carries whole years
  Dates expected;
  for (int year = 2000; year <= 2096; year += 4)
    expected.push_back(std::to_string(year) + "-02-29 00:00");
  expected.insert(expected.end(), {"2100-02-28 00:00", "2104-02-29 00:00"});
  EXPECT_EQ(Generate(pattern), expected);
}

TEST_F(SeriesGenerationTest, YearlyDatesFallOnTheTwentyEighthInCommonYears) {
  RecurrencePattern pattern = Pattern(RecurrenceKind::kYear, At(1896, 3, 1, 12), 9);
  pattern.yearDateMonth = 1;
  pattern.yearDay = "29";
  // Already past in the start year: the first falls in the next.
  EXPECT_EQ(Generate(pattern), (Dates{"1897-02-28 12:00", "1898-02-28 12:00", "1899-02-28 12:00",
                                      "1900-02-28 12:00", "1901-02-28 12:00", "1902-02-28 12:00",
                                      "1903-02-28 12:00", "1904-02-29 12:00", "1905-02-28 12:00"}));
}

TEST_F(SeriesGenerationTest, NthWeekdays) {
  RecurrencePattern month = Pattern(RecurrenceKind::kMonth, At(2007, 5, 1), 1);  // a Tuesday
  month.monthForm = MonthForm::kNthWeekday;
  month.monthNth = 1;  // second Sunday
  month.monthWeekday = 0;
  EXPECT_EQ(Generate(month), Dates{"2007-05-13 00:00"});
  month.rangeStart = At(2007, 8, 1);  // 31 August 2007 is a Friday
  month.monthNth = kLastNth;
  month.monthWeekday = 5;
  EXPECT_EQ(Generate(month), Dates{"2007-08-31 00:00"});

  RecurrencePattern year = Pattern(RecurrenceKind::kYear, At(2003, 1, 1), 3);
  year.yearForm = YearForm::kNthWeekday;
  year.yearNthMonth = 1;  // last Sunday of February
  year.yearNth = kLastNth;
  year.yearWeekday = 0;
  EXPECT_EQ(Generate(year), (Dates{"2003-02-23 00:00", "2004-02-29 00:00", "2005-02-27 00:00"}));
  year.rangeStart = At(2015, 1, 1);
  year.yearNth = 3;  // fourth Sunday
  EXPECT_EQ(Generate(year), (Dates{"2015-02-22 00:00", "2016-02-28 00:00", "2017-02-26 00:00"}));
}

TEST_F(SeriesGenerationTest, SeriesStopBeforeTheLastRepresentableYear) {
  RecurrencePattern yearly = Pattern(RecurrenceKind::kYear, At(9997, 1, 1), 10);
  yearly.yearDateMonth = 0;
  yearly.yearDay = "1";
  EXPECT_EQ(Generate(yearly), (Dates{"9997-01-01 00:00", "9998-01-01 00:00", "9999-01-01 00:00"}));
  RecurrencePattern daily = Pattern(RecurrenceKind::kDay, At(9999, 12, 30), 10);
  daily.dayInterval = "1";
  EXPECT_EQ(Generate(daily), (Dates{"9999-12-30 00:00", "9999-12-31 00:00"}));
}

TEST_F(SeriesGenerationTest, RefusedPatternsStoreNothingButTakeASeriesId) {
  RecurrencePattern refused[4] = {Pattern(RecurrenceKind::kDay, At(2007, 3, 5), 0),
                                  Pattern(RecurrenceKind::kWeek, At(2007, 3, 5), 3),
                                  Pattern(RecurrenceKind::kMonth, At(2007, 3, 5), 3),
                                  Pattern(RecurrenceKind::kYear, At(2007, 3, 5), 3)};
  refused[1].weekInterval = "";
  refused[2].monthDay = "32";
  refused[3].yearDateMonth = 10;
  refused[3].yearDay = "31";
  std::set<std::string> seriesIds;
  for (const RecurrencePattern& pattern : refused) {
    const SeriesResult result = GenerateSeries(pattern, store_, clock_);
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.status.code(), StatusCode::kInvalidArgument);
    EXPECT_TRUE(result.recordIds.empty());
    seriesIds.insert(result.seriesId);
  }
  EXPECT_EQ(seriesIds.size(), 4u);
  EXPECT_EQ(store_.Reload().loaded, 0u);
}

TEST_F(SeriesGenerationTest, FailedWriteStopsTheRunAndIsReported) {
  std::filesystem::remove_all(RecordsFolder());
  const SeriesResult result =
      GenerateSeries(Pattern(RecurrenceKind::kDay, At(2007, 3, 5), 10), store_, clock_);
  EXPECT_FALSE(result.success);
  EXPECT_EQ(result.status.message(), "No such file or directory");
  EXPECT_TRUE(result.recordIds.empty());  // the failed one is not kept: it has no file
  EXPECT_EQ(store_.map().size(), 0u);
}

}  // namespace
}  // namespace paylark

#include "core/statements/recurring/cadence.h"

#include <gtest/gtest.h>

#include "core/statements/recurring/counterparty_key.h"
#include "tests/core/statements/statement_test_dues.h"

namespace paylark {
namespace {

using testing::Day;

std::vector<OleDateTime> EveryDays(OleDateTime first, int days, int count) {
  std::vector<OleDateTime> dates;
  dates.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    dates.push_back(*first.AddDays(static_cast<std::int64_t>(days) * i));
  return dates;
}

TEST(CadenceTest, FourWeeksOnFridayIsNotMonthly) {
  const auto cadence = FindCadence(EveryDays(Day(2026, 1, 2), 28, 8));
  ASSERT_TRUE(cadence);
  EXPECT_EQ(cadence->unit, CadenceUnit::kWeeks);
  EXPECT_EQ(cadence->every, 4);
  EXPECT_EQ(CadenceText(*cadence, Day(2026, 8, 14)), "every 4 weeks on Friday");
}

TEST(CadenceTest, WeeklyBookingsADayLateNowAndThenAreWeekly) {
  std::vector<OleDateTime> dates = EveryDays(Day(2026, 3, 3), 7, 6);
  dates[2] = *dates[2].AddDays(1);
  const auto cadence = FindCadence(dates);
  ASSERT_TRUE(cadence);
  EXPECT_EQ(CadenceText(*cadence, dates.back()), "weekly on Tuesday");
}

TEST(CadenceTest, QuarterlyOnTheFifteenthMovedToTheFridayBefore) {
  // 15 Mar 2026 is a Sunday, booked Friday the 13th.
  const auto cadence =
      FindCadence({Day(2025, 12, 15), Day(2026, 3, 13), Day(2026, 6, 15), Day(2026, 9, 15)});
  ASSERT_TRUE(cadence);
  EXPECT_EQ(cadence->unit, CadenceUnit::kMonths);
  EXPECT_EQ(cadence->every, 3);
  EXPECT_EQ(cadence->day, 15);
  EXPECT_EQ(cadence->shift, WeekendShift::kFridayBefore);
  EXPECT_EQ(CadenceText(*cadence, Day(2026, 12, 15)), "every 3 months on the 15th");
  EXPECT_EQ(NextOccurrence(*cadence, Day(2026, 9, 15)), Day(2026, 12, 15));
}

TEST(CadenceTest, TheLastDayOfTheMonthStaysTheLast) {
  const auto cadence =
      FindCadence({Day(2026, 1, 31), Day(2026, 2, 28), Day(2026, 3, 31), Day(2026, 4, 30)});
  ASSERT_TRUE(cadence);
  EXPECT_EQ(cadence->day, 31);
  EXPECT_EQ(CadenceText(*cadence, Day(2026, 5, 31)), "monthly on the 31st");
  EXPECT_EQ(NextOccurrence(*cadence, Day(2026, 4, 30)), Day(2026, 5, 31));
}

TEST(CadenceTest, AMissedMonthOrTwoBookingsAreNoCadence) {
  EXPECT_FALSE(FindCadence({Day(2026, 1, 10), Day(2026, 2, 10), Day(2026, 4, 10)}));
  EXPECT_FALSE(FindCadence({Day(2026, 1, 10), Day(2026, 2, 10)}));
  EXPECT_FALSE(FindCadence(EveryDays(Day(2026, 1, 1), 3, 20)));
}

TEST(CadenceTest, YearlyNeedsTwoBookingsAYearApartAndEachCadenceItsReach) {
  const std::vector<OleDateTime> dates = {Day(2025, 3, 16), Day(2026, 3, 16)};
  const auto cadence = FindCadence(dates);
  ASSERT_TRUE(cadence);
  EXPECT_EQ(CadenceText(*cadence, Day(2027, 3, 16)), "yearly on 16 Mar");
  EXPECT_FALSE(FindCadence(dates, CadenceReach::kHalfYears));
  // A reach of weeks only leaves monthly out.
  EXPECT_FALSE(
      FindCadence({Day(2026, 1, 7), Day(2026, 2, 9), Day(2026, 3, 9)}, CadenceReach::kWeeks));
}

TEST(CadenceTest, OrdinalsReadAsWritten) {
  const Cadence monthly{CadenceUnit::kMonths, 1, 1, 22, WeekendShift::kKeep};
  EXPECT_EQ(CadenceText(monthly, Day(2026, 1, 22)), "monthly on the 22nd");
  EXPECT_EQ(CadenceText({CadenceUnit::kMonths, 6, 1, 13, WeekendShift::kKeep}, Day(2026, 1, 13)),
            "every 6 months on the 13th");
  EXPECT_EQ(CadenceText({CadenceUnit::kMonths, 2, 1, 3, WeekendShift::kKeep}, Day(2026, 1, 3)),
            "every 2 months on the 3rd");
}

TEST(CounterpartyKeyTest, DigitsAndBankWordsMakeNoOtherCounterparty) {
  EXPECT_EQ(CounterpartyNameKey("SEPA-Lastschrift STADTWERKE Nordhafen 2026-03 Ref 88812"),
            "stadtwerke nordhafen");
  EXPECT_EQ(CounterpartyNameKey("Stadtwerke Nordhafen"), "stadtwerke nordhafen");
  EXPECT_EQ(CounterpartyKey("Anyone", "", "de89 3704 0044 0532 0130 00"),
            "account DE89370400440532013000");
  EXPECT_EQ(CounterpartyKey("", "Card payment 1234", ""), "");
  EXPECT_EQ(CounterpartyKey("", "Netto Filiale 3312", ""), "name netto filiale");
  EXPECT_EQ(DisplayName("STREAMFLIX*1012"), "STREAMFLIX");
  EXPECT_EQ(DisplayName("4711 Parfum"), "4711 Parfum");
}

}  // namespace
}  // namespace paylark

#include "core/forecast/forecast.h"
#include "core/forecast/low_balance_warning.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/scoped_locale.h"

namespace paylark {
namespace {

OleDateTime At(int y, int mo, int d, int h = 0, int mi = 0) {
  return *OleDateTime::FromCivil(y, mo, d, h, mi, 0);
}

// Now is Sunday 2026-12-06 12:00; the Checking account's balance was 1,000.00 on 1 December.
class ForecastTest : public ::testing::Test {
 protected:
  testing::ScopedLocale locale_{"en_US.UTF-8"};

  DueRecord& AddDue(const std::string& id, OleDateTime due, double amount,
                    std::int32_t type = kTypePersonal, std::string account = "Checking") {
    DueRecord record;
    record.recordId = id;
    record.title = id;
    record.dueDate = due;
    record.amount = amount;
    record.type = type;
    record.account = std::move(account);
    records_.push_back(record);
    return records_.back();
  }

  Forecast Run(std::optional<std::string> account = "Checking", int days = 30,
               Cents warnBelow = 0) {
    DueMap map;
    for (const DueRecord& record : records_)
      map.Set(record.recordId, record);
    return MakeForecast({std::move(account), now_, days, warnBelow, estimate_}, balances_, map);
  }

  Cents On(const Forecast& forecast, int y, int mo, int d) const {
    for (const DayBalance& day : forecast.days) {
      if (day.date == At(y, mo, d))
        return day.balance;
    }
    ADD_FAILURE() << "no day " << y << "-" << mo << "-" << d;
    return 0;
  }

  // Power, a series: paid members from June to November, unpaid ones in December and January.
  void AddPower(const std::vector<double>& paidAmounts) {
    int month = 12 - static_cast<int>(paidAmounts.size());
    for (const double paid : paidAmounts) {
      DueRecord& member = AddDue("power-" + std::to_string(month), At(2026, month, 10), 60);
      member.seriesId = "power";
      member.paid = 1;
      member.paidOn = At(2026, month, 10);
      member.paidAmount = paid;
      ++month;
    }
    for (const auto& [id, due] :
         {std::pair{"power-12", At(2026, 12, 10)}, std::pair{"power-13", At(2027, 1, 10)}}) {
      DueRecord& member = AddDue(id, due, 60);
      member.seriesId = "power";
    }
  }

  // "63.65 estimated" or "60.00": what the bill counts at, and whether that is an estimate.
  static std::string CountedAt(const Forecast& forecast, const std::string& id) {
    for (const ForecastItem& item : forecast.items) {
      if (item.recordId != id)
        continue;
      char text[32];
      std::snprintf(text, sizeof text, "%.2f", FromCents(-item.amount));
      return text + std::string(item.estimated ? " estimated" : "");
    }
    return "no item " + id;
  }

  Estimate estimate_ = kDefaultEstimate;
  OleDateTime now_ = At(2026, 12, 6, 12);
  std::vector<DueRecord> records_;
  std::vector<BalanceEntry> balances_{{"b1", "Checking", At(2026, 12, 1, 9), 1000.00, "", ""}};
};

// Hand-computed: the last six paid of 58.10, 71.40, 64.99, 90.00, 55.25, 62.30 (and an older
// 120.00) sorted are 55.25 58.10 62.30 64.99 71.40 90.00: the median is (62.30 + 64.99) / 2 =
// 63.645, a half cent rounded up to 63.65; the highest 90.00; the last 62.30.
TEST_F(ForecastTest, UnpaidMembersOfAVariableSeriesCountAtTheEstimate) {
  AddPower({120.00, 58.10, 71.40, 64.99, 90.00, 55.25, 62.30});
  const struct {
    Estimate estimate;
    const char* expected;
  } cases[] = {{Estimate::kMedian, "63.65 estimated"},
               {Estimate::kHighest, "90.00 estimated"},
               {Estimate::kLastPaid, "62.30 estimated"},
               {Estimate::kAmount, "60.00"}};
  for (const auto& c : cases) {
    estimate_ = c.estimate;
    const Forecast forecast = Run("Checking", 60);
    EXPECT_EQ(CountedAt(forecast, "power-12"), c.expected) << EstimateName(c.estimate);
    EXPECT_EQ(CountedAt(forecast, "power-13"), c.expected) << EstimateName(c.estimate);
  }
}

TEST_F(ForecastTest, EstimatesTakeTheMedianOfOddAndEvenCounts) {
  EXPECT_EQ(EstimateFrom(std::vector<Cents>{500, 100, 400, 200, 300}, Estimate::kMedian), 300);
  EXPECT_EQ(EstimateFrom(std::vector<Cents>{101, 200}, Estimate::kMedian), 151)
      << "150.5 cents, rounded up";
  EXPECT_EQ(EstimateFrom(std::vector<Cents>{-101, -200}, Estimate::kMedian), -151);
  EXPECT_FALSE(EstimateFrom({}, Estimate::kMedian));
  EXPECT_EQ(EstimateNamed("HIGHEST"), Estimate::kHighest);
  EXPECT_EQ(EstimateNamed("whatever"), Estimate::kMedian);
}

TEST_F(ForecastTest, ASeriesPaidAsBilledAndAPartlyPaidMemberAreNotEstimated) {
  AddPower({60, 60, 60});
  EXPECT_EQ(CountedAt(Run("Checking", 60), "power-12"), "60.00");

  records_.clear();
  AddPower({58.10, 71.40});
  DueRecord& december = records_[2];
  ASSERT_EQ(december.recordId, "power-12");
  december.paidOn = At(2026, 12, 3, 8);
  december.paidAmount = 20.00;  // a part, paid after the entry
  const Forecast forecast = Run("Checking", 60);
  EXPECT_EQ(CountedAt(forecast, "power-12"), "40.00") << "what is left, not the estimate";
  EXPECT_EQ(CountedAt(forecast, "power-13"), "64.75 estimated");
  EXPECT_EQ(forecast.balanceToday, 100000 - 2000);
}

TEST_F(ForecastTest, CarriesTheBalanceThroughWhatWasPaidAndReceivedSinceTheEntry) {
  AddDue("before-entry", At(2026, 11, 28), 300).paid = 1;  // already in the entry's figure
  DueRecord& phone = AddDue("phone", At(2026, 11, 30), 40);
  phone.paid = 1;
  phone.paidOn = At(2026, 12, 2, 10);  // paid after the entry although due before it
  phone.paidAmount = 42.17;
  AddDue("gas", At(2026, 12, 3), 55.55).paid = 1;  // no payment date: counts on its due date
  AddDue("refund", At(2026, 12, 4), 20.05, kTypeIncome).paid = 1;
  DueRecord& later = AddDue("paid-tonight", At(2026, 12, 20), 10);
  later.paid = 1;
  later.paidOn = At(2026, 12, 6, 18);  // paid later today, after now
  const Forecast forecast = Run();
  ASSERT_TRUE(forecast.startDate);
  EXPECT_EQ(*forecast.startDate, At(2026, 12, 1, 9));
  EXPECT_EQ(forecast.startBalance, 100000);
  EXPECT_EQ(forecast.balanceToday, 100000 - 4217 - 5555 + 2005);
  EXPECT_EQ(forecast.days.front().date, At(2026, 12, 6));
  EXPECT_EQ(forecast.days.front().balance, forecast.balanceToday - 1000);
  EXPECT_EQ(forecast.days.size(), 31u);
  // Each payment since the entry is listed, oldest first, so that its balances add up to today's.
  std::string listed;
  for (const ForecastItem& paid : forecast.paidSinceEntry)
    listed += std::string(paid.recordId) + " " + std::to_string(paid.amount) + " " +
              std::to_string(paid.balanceAfter) + "; ";
  EXPECT_EQ(listed, "phone -4217 95783; gas -5555 90228; refund 2005 92233; ");
  EXPECT_EQ(forecast.paidSinceEntry.back().balanceAfter, forecast.balanceToday);
  EXPECT_EQ(forecast.paidSinceEntry[0].date, At(2026, 12, 2));
}

TEST_F(ForecastTest, TakesOverdueBillsTodayAndLeavesOverdueIncomeOut) {
  AddDue("overdue-rent", At(2026, 11, 1), 500);
  AddDue("late-salary", At(2026, 12, 1), 2000, kTypeIncome);
  AddDue("insurance", At(2026, 12, 10, 8), 120.40);
  AddDue("salary", At(2026, 12, 24), 1800, kTypeIncome);
  AddDue("beyond", At(2027, 1, 6), 99);  // past the 30-day horizon
  const Forecast forecast = Run();
  EXPECT_EQ(On(forecast, 2026, 12, 6), 50000);
  EXPECT_EQ(On(forecast, 2026, 12, 9), 50000);
  EXPECT_EQ(On(forecast, 2026, 12, 10), 37960);
  EXPECT_EQ(On(forecast, 2026, 12, 24), 217960);
  EXPECT_EQ(forecast.days.back().date, At(2027, 1, 5));
  ASSERT_EQ(forecast.items.size(), 3u);
  EXPECT_TRUE(forecast.items[0].overdue);
  EXPECT_EQ(forecast.items[0].date, At(2026, 12, 6));
  // The late salary is listed, not counted; an income overdue since before the entry is not.
  AddDue("old-salary", At(2026, 11, 1), 2000, kTypeIncome);
  const Forecast again = Run();
  ASSERT_EQ(again.uncountedIncomes.size(), 1u);
  EXPECT_EQ(again.uncountedIncomes[0].recordId, "late-salary");
  EXPECT_EQ(again.uncountedIncomes[0].amount, 200000);
  EXPECT_EQ(again.uncountedIncomes[0].balanceAfter, again.balanceToday);
  EXPECT_EQ(again.uncountedIncomes[0].date, At(2026, 12, 1));
  EXPECT_EQ(again.balanceToday, 100000);
}

TEST_F(ForecastTest, FindsTheLowPointOnTheLastDayAndTheFirstDayBelowTheWarningLevel) {
  AddDue("a", At(2026, 12, 8), 400);
  AddDue("b", At(2026, 12, 20), 500);
  AddDue("c", At(2027, 1, 5, 23, 59), 200.01);
  const Forecast forecast = Run("Checking", 30, 20000);
  EXPECT_EQ(forecast.low.date, At(2027, 1, 5));
  EXPECT_EQ(forecast.low.balance, -10001);
  ASSERT_TRUE(forecast.firstBelow);
  EXPECT_EQ(*forecast.firstBelow, At(2026, 12, 20));

  const Forecast noWarning = Run("Checking", 30, -20000);
  EXPECT_FALSE(noWarning.firstBelow);
}

// A balance of 9.2e16 plus an income once wrapped round to a large negative balance. Such a
// balance no longer loads; given anyway, the forecast holds at the farthest cents instead.
TEST_F(ForecastTest, NeverWrapsRoundBeyondWhatCentsHold) {
  balances_ = {{"b1", "Checking", At(2026, 12, 1, 9), 9.2e16, "", ""},
               {"b2", "Savings", At(2026, 12, 1, 9), 9.2e16, "", ""}};
  AddDue("salary", At(2026, 12, 15), 1e13, kTypeIncome);
  const Forecast forecast = Run(std::nullopt);
  EXPECT_GT(forecast.startBalance, 0);
  EXPECT_GT(On(forecast, 2026, 12, 20), 0);
  EXPECT_GE(On(forecast, 2026, 12, 20), forecast.startBalance);
}

TEST_F(ForecastTest, CountsIncomesBeforeBillsOnTheSameDay) {
  AddDue("rent", At(2026, 12, 15, 0, 0), 1200);
  AddDue("salary", At(2026, 12, 15, 23, 0), 1500, kTypeIncome);
  AddDue("phone", At(2026, 12, 10), 30);
  const Forecast forecast = Run();
  ASSERT_EQ(forecast.items.size(), 3u);
  EXPECT_EQ(forecast.items[1].recordId, "salary");
  EXPECT_EQ(forecast.items[1].balanceAfter, 247000);
  EXPECT_EQ(forecast.items[2].balanceAfter, 127000);
  EXPECT_EQ(forecast.low.balance, 97000);  // the day before payday
  ASSERT_TRUE(forecast.nextIncome);
  EXPECT_EQ(forecast.nextIncome->date, At(2026, 12, 15));
  EXPECT_EQ(forecast.nextIncome->dueItems, std::vector<std::size_t>{0});
  EXPECT_EQ(forecast.nextIncome->total, 3000);
  EXPECT_EQ(forecast.nextIncome->left, 97000);
}

TEST_F(ForecastTest, KeepsAccountsApartAndAddsThemForAll) {
  balances_.push_back({"b2", " savings ", At(2026, 11, 1), 5000, "", ""});
  balances_.push_back({"b3", "Savings", At(2026, 11, 20), 6000, "statement.ofx", ""});
  balances_.push_back({"b4", "Checking", At(2026, 11, 1), 9999, "", ""});  // older: ignored
  AddDue("transfer", At(2026, 12, 12), 250, kTypePersonal, "SAVINGS ");
  AddDue("rent", At(2026, 12, 12), 700);
  AddDue("cash", At(2026, 12, 12), 5, kTypePersonal, "");
  EXPECT_EQ(Run("Checking").days.back().balance, 30000);
  EXPECT_EQ(Run("savings").days.back().balance, 575000);
  EXPECT_EQ(Run("").days.back().balance, -500);
  const Forecast all = Run(std::nullopt);
  EXPECT_EQ(all.startBalance, 700000);
  EXPECT_EQ(*all.startDate, At(2026, 12, 1, 9));
  EXPECT_EQ(all.days.back().balance, 604500);
}

TEST_F(ForecastTest, StartsAtZeroTodayWithoutAnEntry) {
  balances_.clear();
  AddDue("paid-long-ago", At(2026, 1, 1), 1000).paid = 1;
  AddDue("water", At(2026, 12, 7), 33.33);
  const Forecast forecast = Run();
  EXPECT_FALSE(forecast.startDate);
  EXPECT_EQ(forecast.balanceToday, 0);
  EXPECT_EQ(forecast.low.balance, -3333);
  EXPECT_EQ(*forecast.firstBelow, At(2026, 12, 7));
  EXPECT_FALSE(forecast.nextIncome);
}

TEST_F(ForecastTest, AddsAHundredThousandDuesToTheExactCent) {
  for (int i = 0; i < 100000; ++i)
    AddDue("d" + std::to_string(i), At(2026, 12, 7 + i % 20), 0.10 + (i % 7) * 0.01);
  const Forecast forecast = Run();
  Cents expected = 100000;
  for (int i = 0; i < 100000; ++i)
    expected -= 10 + i % 7;
  EXPECT_EQ(forecast.days.back().balance, expected);
  EXPECT_EQ(forecast.items.size(), 100000u);
}

TEST_F(ForecastTest, WarnsOfTheEarliestAccountToFallBelowTheLevelWithinTheDaysAhead) {
  balances_.push_back({"b2", "Savings ", At(2026, 12, 1), 100.00, "", ""});
  AddDue("rent", At(2026, 12, 28), 1200);  // Checking: below on the 28th
  AddDue("insurance", At(2026, 12, 15), 150, kTypePersonal, "savings");  // Savings: the 15th
  AddDue("no-entry", At(2026, 12, 8), 5000, kTypePersonal, "Cash");      // no entry: no warning
  DueMap map;
  for (const DueRecord& record : records_)
    map.Set(record.recordId, record);

  const auto warning = FindLowBalanceWarning(balances_, map, now_, 0, 21);
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->account, "Savings ");
  EXPECT_EQ(warning->date, At(2026, 12, 15));
  EXPECT_EQ(LowBalanceWarningText(*warning), "Balance below $0.00 on 15 Dec 2026");

  EXPECT_FALSE(FindLowBalanceWarning(balances_, map, now_, 0, 8));  // the 15th is past the days
  const auto level = FindLowBalanceWarning(balances_, map, now_, 100'001, 8);
  ASSERT_TRUE(level);  // Savings' 100.00 is below 1,000.01 from today
  EXPECT_EQ(level->date, At(2026, 12, 6));
  EXPECT_EQ(LowBalanceWarningText(*level), "Balance below $1,000.01 on 6 Dec 2026");
  EXPECT_FALSE(FindLowBalanceWarning({}, map, now_, 0, 365));
}

}  // namespace
}  // namespace paylark

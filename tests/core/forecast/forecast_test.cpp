#include "core/forecast/forecast.h"
#include "core/forecast/low_balance_warning.h"

#include <gtest/gtest.h>

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
    return MakeForecast({std::move(account), now_, days, warnBelow}, balances_, map);
  }

  Cents On(const Forecast& forecast, int y, int mo, int d) const {
    for (const DayBalance& day : forecast.days) {
      if (day.date == At(y, mo, d))
        return day.balance;
    }
    ADD_FAILURE() << "no day " << y << "-" << mo << "-" << d;
    return 0;
  }

  OleDateTime now_ = At(2026, 12, 6, 12);
  std::vector<DueRecord> records_;
  std::vector<BalanceEntry> balances_{{"b1", "Checking", At(2026, 12, 1, 9), 1000.00, "", ""}};
};

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
  EXPECT_EQ(forecast.nextIncome->dueIds, std::vector<std::string>{"phone"});
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

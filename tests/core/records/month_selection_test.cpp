#include "core/records/month_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/records/payment.h"
#include "tests/support/scoped_locale.h"
#include "tests/support/scratch_store.h"

namespace paylark {
namespace {

OleDateTime At(int y, int mo, int d, int h = 0, int mi = 0) {
  return *OleDateTime::FromCivil(y, mo, d, h, mi, 0);
}

class MonthSelectionTest : public ::testing::Test {
 protected:
  void AddDue(const std::string& title, OleDateTime due, double amount, int paid) {
    DueRecord record = DueRecord::WithDefaults(clock_);
    record.title = title;
    record.dueDate = due;
    record.amount = amount;
    record.paid = paid;
    ASSERT_TRUE(store_.Add(record).status.ok());
    clock_.AdvanceSeconds(1);
  }

  static std::vector<std::string> Titles(const std::vector<DueRecord>& rows) {
    std::vector<std::string> titles;
    titles.reserve(rows.size());
    for (const auto& row : rows)
      titles.push_back(row.title);
    return titles;
  }

  testing::ScopedLocale locale_{"en_US.UTF-8"};
  FixedClock clock_{At(2026, 3, 15, 12)};
  testing::ScratchStore scratch_{clock_};
  RecordStore& store_ = scratch_.store();
};

TEST_F(MonthSelectionTest, SelectsTheMonthSortedByDueDateWithItsSums) {
  AddDue("late", At(2026, 3, 31, 23, 59), 100, 0);
  AddDue("next month", At(2026, 4, 1), 1000, 0);
  AddDue("early", At(2026, 3, 1, 8), 50.25, 2);  // any non-zero paid value counts as paid
  AddDue("refund", At(2026, 3, 10), -20, 0);
  AddDue("last month", At(2026, 2, 28, 23, 59), 7, 1);

  const MonthSelection all = MonthFill(store_, At(2026, 3, 20), MonthFilter::kAll);
  EXPECT_EQ(Titles(all.rows), (std::vector<std::string>{"early", "refund", "late"}));
  EXPECT_EQ(all.paidText, "Paid : $50.25");
  EXPECT_EQ(all.unpaidText, "Unpaid : $80.00");
  EXPECT_EQ(all.totalText, "Total : $130.25");

  const MonthSelection paid = MonthFill(store_, At(2026, 3, 1), MonthFilter::kPaidOnly);
  EXPECT_EQ(Titles(paid.rows), (std::vector<std::string>{"early"}));
  EXPECT_EQ(paid.unpaidText, "Unpaid : $0.00");
  EXPECT_EQ(paid.totalText, "Total : $50.25");
  EXPECT_EQ(MonthFill(store_, At(2026, 3, 1), MonthFilter::kUnpaidOnly).rows.size(), 2u);
  EXPECT_EQ(MonthFilterFromIndex(-1), MonthFilter::kAll);
}

// Paid dues count what was paid; sums are added in cents, so a thousand dimes make $100.00.
TEST_F(MonthSelectionTest, ThePaidSumAddsPaidAmountsInCents) {
  AddDue("power", At(2026, 3, 2), 90, 1);
  DueRecord power = MonthFill(store_, At(2026, 3, 1), MonthFilter::kAll).rows.at(0);
  power.paidAmount = 92.41;
  ASSERT_TRUE(store_.Replace(power).ok());
  AddDue("rent", At(2026, 3, 3), 500, 1);
  AddDue("gas", At(2026, 3, 4), 40, 0);
  const MonthSelection month = MonthFill(store_, At(2026, 3, 1), MonthFilter::kAll);
  EXPECT_EQ(month.paidText, "Paid : $592.41");
  EXPECT_EQ(month.unpaidText, "Unpaid : $40.00");
  EXPECT_EQ(month.totalText, "Total : $632.41");

  for (int i = 0; i < 1000; ++i)
    AddDue("dime", At(2027, 1, 5), 0.1, 0);
  const MonthSelection dimes = MonthFill(store_, At(2027, 1, 1), MonthFilter::kAll);
  EXPECT_EQ(dimes.unpaid, 10000);
  EXPECT_EQ(dimes.total, 10000);
}

// A due paid in parts counts its parts in Paid and what is left in Unpaid.
TEST_F(MonthSelectionTest, APartlyPaidDueSplitsBetweenPaidAndUnpaid) {
  AddDue("instalment", At(2026, 3, 2), 300, 0);
  DueRecord due = MonthFill(store_, At(2026, 3, 1), MonthFilter::kAll).rows.at(0);
  Pay(due, clock_.Now(), {std::nullopt, 100.10, "", "", ""});
  Pay(due, clock_.Now(), {std::nullopt, 49.95, "", "", ""});
  ASSERT_TRUE(store_.Replace(due).ok());
  AddDue("gas", At(2026, 3, 4), 40, 0);
  const MonthSelection month = MonthFill(store_, At(2026, 3, 1), MonthFilter::kAll);
  EXPECT_EQ(month.paidText, "Paid : $150.05");
  EXPECT_EQ(month.unpaidText, "Unpaid : $189.95");
  EXPECT_EQ(month.totalText, "Total : $340.00");
  EXPECT_EQ(MonthFill(store_, At(2026, 3, 1), MonthFilter::kUnpaidOnly).rows.size(), 2u)
      << "a partly paid due is still unpaid";
}

TEST_F(MonthSelectionTest, IncomesHaveASumOfTheirOwnApartFromTheBills) {
  AddDue("rent", At(2026, 3, 3), 500, 1);
  AddDue("salary", At(2026, 3, 24), 2100.55, 0);
  AddDue("refund", At(2026, 3, 25), 19.45, 1);
  for (DueRecord income : MonthFill(store_, At(2026, 3, 1), MonthFilter::kAll).rows) {
    income.type = income.title == "rent" ? kTypePersonal : kTypeIncome;
    ASSERT_TRUE(store_.Replace(income).ok());
  }
  const MonthSelection month = MonthFill(store_, At(2026, 3, 1), MonthFilter::kAll);
  EXPECT_EQ(month.rows.size(), 3u);
  EXPECT_EQ(month.totalText, "Total : $500.00");
  EXPECT_EQ(month.unpaidText, "Unpaid : $0.00");
  EXPECT_EQ(month.incomeText, "Income : $2,120.00");
  EXPECT_EQ(MonthFill(store_, At(2026, 4, 1), MonthFilter::kAll).incomeText, "");
}

TEST_F(MonthSelectionTest, EqualDueDatesKeepMapOrder) {
  for (const char* title : {"a", "b", "c", "d", "e", "f"})
    AddDue(title, At(2026, 3, 5), 1, 0);
  std::vector<std::string> mapOrder;
  store_.map().ForEach([&](const DueRecord& r) { mapOrder.push_back(r.title); });
  EXPECT_EQ(Titles(MonthFill(store_, At(2026, 3, 5), MonthFilter::kAll).rows), mapOrder);
}

// Many records over few dates, each date's records spread out: the order of a stable sort.
TEST(SortByDueDateTest, EqualDatesKeepTheirOrderAmongMany) {
  std::vector<DueRecord> rows(500);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].title = std::to_string(i);
    rows[i].dueDate = At(2026, 3, 1 + static_cast<int>(i * 7919 % 7));
  }
  std::vector<DueRecord> expected = rows;
  std::stable_sort(expected.begin(), expected.end(),
                   [](const DueRecord& a, const DueRecord& b) { return a.dueDate < b.dueDate; });
  SortByDueDate(rows);
  ASSERT_EQ(rows.size(), expected.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    EXPECT_EQ(rows[i].title, expected[i].title) << i;
}

TEST_F(MonthSelectionTest, RangeFillIncludesBothEndMonthsInMapOrder) {
  AddDue("feb", At(2026, 2, 1), 1, 1);
  AddDue("mar", At(2026, 3, 31), 1, 0);
  AddDue("apr", At(2026, 4, 30, 23, 59), 1, 0);
  AddDue("may", At(2026, 5, 1), 1, 0);
  std::vector<std::string> expected;
  store_.map().ForEach([&](const DueRecord& r) {
    if (r.title == "mar" || r.title == "apr")
      expected.push_back(r.title);
  });
  EXPECT_EQ(Titles(RangeFill(store_, At(2026, 3, 9), At(2026, 4, 2))), expected);
  EXPECT_TRUE(RangeFill(store_, At(2026, 5, 1), At(2026, 3, 1)).empty());
  EXPECT_EQ(Titles(RangeFill(store_, At(2026, 2, 9), At(2026, 2, 9))),
            (std::vector<std::string>{"feb"}));
}

}  // namespace
}  // namespace paylark

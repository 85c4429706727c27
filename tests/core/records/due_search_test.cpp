#include "core/records/due_search.h"

#include <gtest/gtest.h>

#include "core/base/format.h"
#include "core/records/month_selection.h"
#include "core/records/year_summary.h"
#include "tests/support/scoped_locale.h"
#include "tests/support/scratch_store.h"

namespace paylark {
namespace {

OleDateTime At(int y, int mo, int d, int h = 0) {
  return *OleDateTime::FromCivil(y, mo, d, h, 0, 0);
}

// A store of dues over several months, searched and summed as the window and `find` do.
class ManyDuesTest : public ::testing::Test {
 protected:
  void AddDue(const std::string& title, const std::string& payTo, OleDateTime due,
              double amount = 0, int paid = 0, const std::string& notes = "") {
    DueRecord record = DueRecord::WithDefaults(clock_);
    record.title = title;
    record.payTo = payTo;
    record.account = "Checking";
    record.notes = notes;
    record.dueDate = due;
    record.amount = amount;
    record.paid = paid;
    ASSERT_TRUE(store_.Add(record).status.ok());
    clock_.AdvanceSeconds(1);
  }

  std::string Found(std::string_view text) const {
    std::string titles;
    for (const std::string& id : DueSearch(store_).Find(text))
      titles += (titles.empty() ? "" : ",") + store_.Get(id).title;
    return titles;
  }

  FixedClock clock_{At(2026, 3, 15, 12)};
  testing::ScratchStore scratch_{clock_};
  RecordStore& store_ = scratch_.store();
};

TEST_F(ManyDuesTest, FindLooksAtEveryMonthAndFourFieldsInDueDateOrder) {
  AddDue("Gas bill", "Stadtwerke", At(2026, 5, 1));
  AddDue("Rent", "Landlord", At(2025, 1, 1), 0, 0, "ask about the GAS meter");
  AddDue("Water", "GASWORKS Ltd", At(2027, 9, 9));
  AddDue("Phone", "Telco", At(2026, 1, 1));
  EXPECT_EQ(Found("gas"), "Rent,Gas bill,Water");
  EXPECT_EQ(Found("  CHECKING "), "Rent,Phone,Gas bill,Water");
  EXPECT_EQ(Found("   "), "");
  EXPECT_EQ(Found(std::string_view("bill\0Stadt", 10)), "");  // fields never run into each other
  EXPECT_EQ(Found("nothing like it"), "");
}

TEST_F(ManyDuesTest, LetterCaseFoldsForEveryLetterTheLocaleKnows) {
  AddDue("ÄPFEL vom Markt", "Obsthof", At(2026, 3, 1));
  AddDue("Квартплата", "МОСЭНЕРГО", At(2026, 3, 2));
  AddDue("Miete Hauptstraße", "Vermieter", At(2026, 3, 3));
  for (const char* locale : {"de_DE.UTF-8", "en_US.UTF-8"}) {
    const testing::ScopedLocale scoped(locale);
    ASSERT_TRUE(scoped.ok()) << locale;
    EXPECT_EQ(Found("äpfel"), "ÄPFEL vom Markt") << locale;
    EXPECT_EQ(Found("квартПЛАТА"), "Квартплата") << locale;
    EXPECT_EQ(Found("мосэнерго"), "Квартплата") << locale;
    // Regression: "strasse" did not find "Hauptstraße".
    EXPECT_EQ(Found("hauptstrasse"), "Miete Hauptstraße") << locale;
    EXPECT_EQ(Found("HAUPTSTRAẞE"), "Miete Hauptstraße") << locale;
  }
  // The C locale knows ASCII letters alone.
  const testing::ScopedLocale c("C");
  EXPECT_EQ(Found("äpfel"), "");
  EXPECT_EQ(Found("ÄPFEL VOM"), "ÄPFEL vom Markt");
  EXPECT_EQ(FoldLetterCase("A\xff"), "a\xef\xbf\xbd");  // a stray byte reads as U+FFFD
}

TEST_F(ManyDuesTest, YearSummaryEqualsTheMonthListsSums) {
  const testing::ScopedLocale locale("en_US.UTF-8", testing::ScopedLocale::Numbers::kC);
  ASSERT_TRUE(locale.ok());
  for (int i = 0; i < 60; ++i) {
    AddDue("Due " + std::to_string(i), i % 3 == 0 ? "Bank" : "Power",
           At(2025, 1 + i % 12, 1 + i % 28, i % 24), 0.1 * i + 0.07, i % 4 == 0);
  }
  AddDue("Next year", "Bank", At(2026, 1, 1), 500);
  AddDue("Last year", "Bank", At(2024, 12, 31, 23), 700);
  const YearSummary summary = SummarizeYear(store_, 2025);
  Cents paid = 0;
  for (int month = 1; month <= 12; ++month) {
    const MonthSelection list = MonthFill(store_, At(2025, month, 1), MonthFilter::kAll);
    const AmountSums& sums = summary.months[static_cast<std::size_t>(month - 1)];
    EXPECT_EQ(sums.paid, list.paid) << month;
    EXPECT_EQ(sums.unpaid, list.unpaid) << month;
    EXPECT_EQ(sums.total, list.total) << month;
    paid += list.paid;
  }
  EXPECT_EQ(summary.wholeYear.paid, paid);
  ASSERT_EQ(summary.payees.size(), 2u);
  EXPECT_EQ(summary.payees[0].payTo, "Power");  // the larger total first
  EXPECT_EQ(summary.payees[0].dues + summary.payees[1].dues, 60u);
}

}  // namespace
}  // namespace paylark

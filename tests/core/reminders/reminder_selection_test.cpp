#include "core/reminders/reminder_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reminders/reminder_wording.h"
#include "tests/support/scoped_locale.h"

namespace paylark {
namespace {

OleDateTime At(int y, int mo, int d, int h = 0, int mi = 0) {
  return *OleDateTime::FromCivil(y, mo, d, h, mi, 0);
}

// Now is Saturday 2026-12-05 14:30; reminders look three days ahead unless a test says otherwise.
class ReminderSelectionTest : public ::testing::Test {
 protected:
  testing::ScopedLocale locale_{"en_US.UTF-8"};

  void AddDue(const std::string& id, OleDateTime due, int paid = 0, double amount = 10) {
    DueRecord record;
    record.recordId = id;
    record.title = id;
    record.dueDate = due;
    record.paid = paid;
    record.amount = amount;
    map_.Set(id, record);
  }

  std::vector<Reminder> Select(int daysAhead = 3) const {
    return SelectReminders(map_, now_, daysAhead);
  }

  // "id when" per reminder, in order.
  std::vector<std::string> Described(int daysAhead = 3) const {
    std::vector<std::string> lines;
    for (const Reminder& reminder : Select(daysAhead))
      lines.push_back(reminder.record.recordId + " " + WhenText(reminder));
    return lines;
  }

  OleDateTime now_ = At(2026, 12, 5, 14, 30);
  DueMap map_;
};

// A due of today whose time has passed is today's, not overdue (month_row_test's colours check
// StateOf the same way); a paid due is never selected.
TEST_F(ReminderSelectionTest, SelectsUnpaidOverdueFromAnyMonthAndDuesUpToTheEndOfTheLastDay) {
  AddDue("last-year", At(2025, 6, 1));
  AddDue("last-month", At(2026, 11, 30, 23, 59));
  AddDue("passed-today", At(2026, 12, 5, 8));
  AddDue("later-today", At(2026, 12, 5, 20));
  AddDue("tomorrow", At(2026, 12, 6));
  AddDue("last-minute", At(2026, 12, 8, 23, 59));
  AddDue("one-day-late", At(2026, 12, 9));
  AddDue("next-year", At(2027, 12, 5));
  AddDue("paid-overdue", At(2026, 1, 1), 1);
  AddDue("paid-today", At(2026, 12, 5, 20), 2);
  EXPECT_EQ(Described(), (std::vector<std::string>{"last-year overdue", "last-month overdue",
                                                   "passed-today today", "later-today today",
                                                   "tomorrow in 1 day", "last-minute in 3 days"}));
}

TEST_F(ReminderSelectionTest, ZeroDaysAheadKeepsTodayAndOverdueOnly) {
  AddDue("yesterday", At(2026, 12, 4, 23, 59));
  AddDue("tonight", At(2026, 12, 5, 23, 59));
  AddDue("tomorrow", At(2026, 12, 6));
  EXPECT_EQ(Described(0), (std::vector<std::string>{"yesterday overdue", "tonight today"}));
  EXPECT_EQ(Described(-5), Described(0));
}

TEST_F(ReminderSelectionTest, EqualDueDatesKeepMapOrderAndCountsSplitOverdueFromSoon) {
  // "b" hashes into an earlier bucket than "c", so map order is b, c whatever the insertion.
  AddDue("c", At(2026, 12, 6, 9));
  AddDue("b", At(2026, 12, 6, 9));
  AddDue("a", At(2026, 12, 1));
  std::vector<std::string> mapOrder;
  map_.ForEach([&](const DueRecord& r) {
    if (r.recordId != "a")
      mapOrder.push_back(r.recordId + " in 1 day");
  });
  mapOrder.insert(mapOrder.begin(), "a overdue");
  EXPECT_EQ(Described(), mapOrder);
  const ReminderCounts counts = CountReminders(Select());
  EXPECT_EQ(counts.overdue, 1);
  EXPECT_EQ(counts.dueSoon, 2);
}

// The window's copy-free count must agree with a count of the selection, earliest due included.
TEST_F(ReminderSelectionTest, TheSummaryIsTheSelectionCounted) {
  EXPECT_TRUE(SummarizeReminders(map_, now_, 3).earliestRecordId.empty());
  for (int i = 0; i < 200; ++i) {
    AddDue("d" + std::to_string(i), At(2026, 11 + i % 2, 1 + (i * 7) % 28, i % 3 == 0 ? 9 : 0),
           i % 5 == 0);
  }
  for (const int days : {-1, 0, 3, 30}) {
    const std::vector<Reminder> selected = Select(days);
    const ReminderCounts counts = CountReminders(selected);
    const ReminderSummary summary = SummarizeReminders(map_, now_, days);
    EXPECT_EQ(summary.counts.overdue, counts.overdue) << days;
    EXPECT_EQ(summary.counts.dueSoon, counts.dueSoon) << days;
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(summary.earliestRecordId, selected.front().record.recordId) << days;
  }
}

TEST_F(ReminderSelectionTest, WordsOneDueByItsWhenAndSeveralByTheirNumber) {
  AddDue("Rent", At(2026, 12, 8), 0, 850);
  EXPECT_EQ(NotificationSummary(Select()), "Rent is due in 3 days");
  EXPECT_EQ(NotificationBody(Select()), "Rent \u2013 $850.00 \u2013 in 3 days");
  map_.Clear();
  AddDue("Rent", At(2026, 12, 5, 1), 0, 850);
  EXPECT_EQ(NotificationSummary(Select()), "Rent is due today");
  map_.Clear();
  AddDue("Rent", At(2026, 12, 4), 0, 850);
  EXPECT_EQ(NotificationSummary(Select()), "Rent is overdue");

  for (int day = 1; day <= 6; ++day)
    AddDue("Bill " + std::to_string(day), At(2026, 12, day, 9), 0, day);
  const auto reminders = Select();
  EXPECT_EQ(NotificationSummary(reminders), "7 dues need paying");
  EXPECT_EQ(NotificationBody(reminders),
            "Bill 1 \u2013 $1.00 \u2013 overdue\n"
            "Bill 2 \u2013 $2.00 \u2013 overdue\n"
            "Bill 3 \u2013 $3.00 \u2013 overdue\n"
            "Rent \u2013 $850.00 \u2013 overdue\n"
            "Bill 4 \u2013 $4.00 \u2013 overdue\n"
            "and 2 more");
  EXPECT_EQ(ReminderCountText(CountReminders(reminders)), "5 overdue \u00b7 2 due soon");
}

}  // namespace
}  // namespace paylark

#include "core/records/series_history.h"

#include <gtest/gtest.h>

#include "tests/support/scoped_locale.h"
#include "tests/support/scratch_store.h"

namespace paylark {
namespace {

DueRecord Member(const std::string& id, double amount, std::optional<double> paidAmount = {}) {
  DueRecord record;
  record.recordId = id;
  record.amount = amount;
  record.paid = paidAmount ? 1 : 0;
  record.paidAmount = paidAmount;
  return record;
}

TEST(SeriesHistoryTest, TheChangeComparesWhatWasPaidElseWhatIsDue) {
  testing::ScopedLocale locale("en_US.UTF-8");
  const std::vector<DueRecord> members = {Member("1", 90, 90), Member("2", 90, 94.5),
                                          Member("3", 95),     Member("4", 0),
                                          Member("5", 40),     Member("6", 36)};
  EXPECT_EQ(SeriesChangeText(members, "1"), "") << "the first has nothing before it";
  EXPECT_EQ(SeriesChangeText(members, "2"), "+5.0%");
  EXPECT_EQ(SeriesChangeText(members, "3"), "+0.5%");
  EXPECT_EQ(SeriesChangeText(members, "4"), "-100.0%");
  EXPECT_EQ(SeriesChangeText(members, "5"), "") << "nothing to compare with a due of 0";
  EXPECT_EQ(SeriesChangeText(members, "6"), "-10.0%");
  EXPECT_EQ(SeriesChangeText(members, "7"), "");
  EXPECT_EQ(SeriesChangeText({Member("1", 3), Member("2", 3.0000001)}, "2"), "+0.0%");

  const testing::ScopedLocale german("de_DE.UTF-8");
  EXPECT_EQ(SeriesChangeText(members, "2"), "+5,0%");
}

// A member paid in two parts counts both; the range spans what the paid members cost.
TEST(SeriesHistoryTest, PartsAreSummedPerMemberAndTheRangeSpansThem) {
  testing::ScopedLocale locale("en_US.UTF-8");
  DueRecord inParts = Member("2", 90, 40);
  inParts.laterParts.push_back({std::nullopt, 55.25, "", "", ""});
  std::vector<DueRecord> members = {Member("1", 90, 90), inParts, Member("3", 90)};
  EXPECT_EQ(SeriesChangeText(members, "2"), "+5.8%") << "95.25 against 90.00";
  EXPECT_EQ(PaidRangeText(members), "Paid $90.00 to $95.25");
  EXPECT_EQ(PaidRangeText({Member("1", 90, 90), Member("2", 90, 90)}), "");
  EXPECT_EQ(PaidRangeText({Member("1", 90, 90), Member("2", 80)}), "");
}

TEST(SeriesHistoryTest, MembersComeInDueDateOrderEqualDatesByRecordId) {
  FixedClock clock(*OleDateTime::FromCivil(2026, 3, 1, 9));
  testing::ScratchStore scratch(clock);
  RecordStore& store = scratch.store();
  std::vector<std::string> ids;
  for (const int day : {20, 5, 20, 1}) {
    DueRecord record = DueRecord::WithDefaults(clock);
    record.seriesId = "recIdS";
    record.dueDate = *OleDateTime::FromCivil(2026, 3, day);
    ids.push_back(store.Add(record).recordId);
  }
  (void)store.Add(DueRecord::WithDefaults(clock));
  std::vector<std::string> order;
  for (const DueRecord& member : SeriesHistory(store, "recIdS"))
    order.push_back(member.recordId);
  EXPECT_EQ(order, (std::vector<std::string>{ids[3], ids[1], ids[0], ids[2]}));
  EXPECT_TRUE(SeriesHistory(store, "").empty());
}

}  // namespace
}  // namespace paylark

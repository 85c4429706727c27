#include "core/print/print_filter.h"

#include <gtest/gtest.h>

namespace paylark {
namespace {

std::vector<PrintRow> Rows(std::initializer_list<std::pair<std::string, int>> accountsAndPaid) {
  std::vector<DueRecord> records;
  for (const auto& [account, paid] : accountsAndPaid) {
    DueRecord record;
    record.account = account;
    record.paid = paid;
    records.push_back(record);
  }
  return MakePrintRows(records);
}

std::string Marks(const std::vector<PrintRow>& rows) {
  std::string marks;
  for (const PrintRow& row : rows)
    marks += row.checked ? 'x' : '.';
  return marks;
}

TEST(PrintFilter, RowsAreInDueDateOrderWithTiesInTheOrderGiven) {
  std::vector<DueRecord> records(4);
  const int days[] = {20, 5, 20, 1};
  for (int i = 0; i < 4; ++i) {
    records[i].title = std::to_string(i);
    records[i].dueDate = *OleDateTime::FromCivil(2026, 12, days[i]);
  }
  std::string order;
  for (const PrintRow& row : MakePrintRows(records))
    order += row.record.title;
  EXPECT_EQ(order, "3102");
}

TEST(PrintFilter, AccountEntriesAreTrimmedDistinctNonEmptyInFirstAppearanceOrder) {
  EXPECT_EQ(AccountEntries(Rows({{"B", 0},
                                 {" A ", 0},
                                 {"", 0},
                                 {"\tB", 0},
                                 {"  ", 0},
                                 {"C", 0},
                                 {"A", 0},
                                 {"my bank", 0}})),
            (std::vector<std::string>{"B", "A", "C", "my bank"}));
}

TEST(PrintFilter, RecordsActionsSetTheCheckMarks) {
  std::vector<PrintRow> rows = Rows({{"A", 1}, {"B", 0}, {"A", 0}});
  EXPECT_EQ(Marks(rows), "...") << "rows start unchecked";
  ApplyRecordsAction(rows, RecordsAction::kPaid);
  EXPECT_EQ(Marks(rows), "x..");
  ApplyRecordsAction(rows, RecordsAction::kInvert);
  EXPECT_EQ(Marks(rows), ".xx");
  ApplyRecordsAction(rows, RecordsAction::kInvert);
  EXPECT_EQ(Marks(rows), "x..") << "inverting twice restores the marks";
  ApplyRecordsAction(rows, RecordsAction::kUnpaid);
  EXPECT_EQ(Marks(rows), ".xx");
  ApplyRecordsAction(rows, RecordsAction::kAll);
  EXPECT_EQ(Marks(rows), "xxx");
  ApplyRecordsAction(rows, RecordsAction::kReset);
  EXPECT_EQ(Marks(rows), "...");
}

TEST(PrintFilter, CheckingAnAccountChecksExactlyItsTrimmedRows) {
  std::vector<PrintRow> rows =
      Rows({{" my bank ", 0}, {"my  bank", 0}, {"My bank", 0}, {"my bank", 1}});
  ApplyRecordsAction(rows, RecordsAction::kAll);
  CheckAccount(rows, "my bank");
  EXPECT_EQ(Marks(rows), "x..x");
  ASSERT_EQ(CheckedRecords(rows).size(), 2U);
  EXPECT_EQ(CheckedRecords(rows)[1].paid, 1);
}

}  // namespace
}  // namespace paylark

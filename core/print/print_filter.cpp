#include "core/print/print_filter.h"

#include <unordered_set>
#include <utility>

#include "core/base/text_encoding.h"
#include "core/records/month_selection.h"

namespace paylark {
namespace {

std::string_view TrimmedAccount(const PrintRow& row) {
  return TrimWhiteSpace(row.record.account);
}

bool CheckedAfter(const PrintRow& row, RecordsAction action) {
  switch (action) {
    case RecordsAction::kAll:
      return true;
    case RecordsAction::kInvert:
      return !row.checked;
    case RecordsAction::kPaid:
      return IsPaid(row.record);
    case RecordsAction::kUnpaid:
      return !IsPaid(row.record);
    case RecordsAction::kReset:
      return false;
  }
  return row.checked;
}

}  // namespace

std::vector<PrintRow> MakePrintRows(std::span<const DueRecord> records) {
  std::vector<DueRecord> sorted(records.begin(), records.end());
  SortByDueDate(sorted);
  std::vector<PrintRow> rows;
  rows.reserve(sorted.size());
  for (DueRecord& record : sorted)
    rows.push_back({std::move(record), false});
  return rows;
}

std::vector<std::string> AccountEntries(std::span<const PrintRow> rows) {
  std::vector<std::string> entries;
  std::unordered_set<std::string_view> seen;
  for (const PrintRow& row : rows) {
    const std::string_view account = TrimmedAccount(row);
    if (!account.empty() && seen.insert(account).second)
      entries.emplace_back(account);
  }
  return entries;
}

void ApplyRecordsAction(std::span<PrintRow> rows, RecordsAction action) {
  for (PrintRow& row : rows)
    row.checked = CheckedAfter(row, action);
}

void CheckAccount(std::span<PrintRow> rows, std::string_view account) {
  for (PrintRow& row : rows)
    row.checked = TrimmedAccount(row) == account;
}

std::vector<DueRecord> CheckedRecords(std::span<const PrintRow> rows) {
  std::vector<DueRecord> records;
  for (const PrintRow& row : rows) {
    if (row.checked)
      records.push_back(row.record);
  }
  return records;
}

}  // namespace paylark

#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/due_record.h"

namespace paylark {

// One row of the print list: a copy of the due and its check mark.
struct PrintRow {
  DueRecord record;
  bool checked = false;
};

// The Records box, in the order it lists its entries.
enum class RecordsAction { kAll = 0, kInvert = 1, kPaid = 2, kUnpaid = 3, kReset = 4 };
struct RecordsActionEntry {
  RecordsAction action;
  std::string_view text;
};
inline constexpr std::array<RecordsActionEntry, 5> kRecordsActionTable = {{
    {RecordsAction::kAll, "All"},
    {RecordsAction::kInvert, "Invert"},
    {RecordsAction::kPaid, "Paid"},
    {RecordsAction::kUnpaid, "UnPaid"},
    {RecordsAction::kReset, "Reset"},
}};

// The rows of the dues, unchecked, in due-date order (equal due dates keep the order given).
std::vector<PrintRow> MakePrintRows(std::span<const DueRecord> records);

// The rows' accounts without leading and trailing white space: the distinct non-empty ones, each
// once, in the order they first appear.
std::vector<std::string> AccountEntries(std::span<const PrintRow> rows);

void ApplyRecordsAction(std::span<PrintRow> rows, RecordsAction action);
// Checks exactly the rows whose trimmed account equals account (case-sensitive).
void CheckAccount(std::span<PrintRow> rows, std::string_view account);

// The dues of the checked rows, in row order.
std::vector<DueRecord> CheckedRecords(std::span<const PrintRow> rows);

}  // namespace paylark

#include "core/statements/bank_csv_layout.h"

#include <algorithm>
#include <map>
#include <optional>

namespace paylark {
namespace {

struct Split {
  std::vector<CsvRow> rows;
  std::size_t fieldCount = 0;
  std::size_t rowsWithCount = 0;
};

enum class Keep { kCounts, kRows };

// Choosing the separator counts fields only; the rows of the chosen one are kept.
Split SplitRows(std::string_view text, char separator, Keep keep) {
  Split split;
  CsvReader reader(text, separator);
  CsvRow row;
  std::map<std::size_t, std::size_t> counts;
  while (reader.Next(row)) {
    if (row.fields.size() == 1 && row.fields[0].empty())
      continue;  // a blank line
    ++counts[row.fields.size()];
    if (keep == Keep::kRows)
      split.rows.push_back(std::move(row));
  }
  for (const auto& [fieldCount, rows] : counts) {
    if (fieldCount >= 2 && rows >= split.rowsWithCount) {
      split.fieldCount = fieldCount;
      split.rowsWithCount = rows;
    }
  }
  return split;
}

// Some banks end every row with a separator, so each booking has one field more than the header:
// when every row of the common width ends in an empty field, that field is no column.
void DropTrailingEmptyColumn(BankCsvLayout& layout) {
  bool anyWide = false;
  for (const CsvRow& row : layout.rows) {
    if (row.fields.size() != layout.fieldCount)
      continue;
    if (!row.fields.back().empty())
      return;
    anyWide = true;
  }
  const bool headerFits =
      std::any_of(layout.rows.begin(), layout.rows.end(),
                  [&](const CsvRow& row) { return row.fields.size() == layout.fieldCount - 1; });
  if (!anyWide || !headerFits || layout.fieldCount < 3)
    return;
  for (CsvRow& row : layout.rows) {
    if (row.fields.size() == layout.fieldCount)
      row.fields.pop_back();
  }
  --layout.fieldCount;
}

}  // namespace

Result<BankCsvLayout> ReadBankCsvLayout(std::string_view text) {
  std::optional<Split> best;
  std::optional<char> bestSeparator;
  for (const char separator : {';', ',', '\t'}) {
    Split split = SplitRows(text, separator, Keep::kCounts);
    if (split.fieldCount == 0)
      continue;
    if (!best || split.rowsWithCount > best->rowsWithCount ||
        (split.rowsWithCount == best->rowsWithCount && split.fieldCount > best->fieldCount)) {
      best = std::move(split);
      bestSeparator = separator;
    }
  }
  if (!best)
    return Status::InvalidArgument(
        "The file has no columns that a comma, a semicolon or a tab separates: it is not a bank "
        "statement in CSV.");
  BankCsvLayout layout;
  layout.separator = *bestSeparator;
  layout.fieldCount = best->fieldCount;
  layout.rows = SplitRows(text, layout.separator, Keep::kRows).rows;
  DropTrailingEmptyColumn(layout);
  while (layout.rows[layout.headerIndex].fields.size() != layout.fieldCount)
    ++layout.headerIndex;
  return layout;
}

std::string HeaderLineText(std::string_view text, const BankCsvLayout& layout) {
  CsvReader reader(text, layout.separator);
  CsvRow row;
  std::size_t start = 0;
  while (reader.Next(row)) {
    if (row.number == layout.header().number) {
      std::string_view line = text.substr(start, reader.position() - start);
      while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
      return std::string(line);
    }
    start = reader.position();
  }
  return {};
}

}  // namespace paylark

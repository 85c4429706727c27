#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"
#include "core/exchange/csv_text.h"

namespace paylark {

// A bank CSV's rows as the separator that fits the whole file splits them. Banks put lines of
// their own before the header (account, period) and after the bookings (totals): the header is
// the first row with the number of fields most rows have, and rows with another number are not
// bookings.
struct BankCsvLayout {
  char separator = ',';
  std::size_t headerIndex = 0;  // into rows
  std::size_t fieldCount = 0;
  std::vector<CsvRow> rows;

  const CsvRow& header() const { return rows[headerIndex]; }
  // A booking row: after the header, with the header's number of fields.
  bool IsBooking(std::size_t index) const {
    return index > headerIndex && rows[index].fields.size() == fieldCount;
  }
};

// The text is UTF-8. Fails when no separator splits the file into at least two columns.
Result<BankCsvLayout> ReadBankCsvLayout(std::string_view text);

// The header line as it stands in the text: the key a column mapping is remembered under.
std::string HeaderLineText(std::string_view text, const BankCsvLayout& layout);

}  // namespace paylark

#include "core/statements/bank_csv_shape.h"

#include <algorithm>

#include "core/base/text_encoding.h"
#include "core/statements/bank_csv_dates.h"
#include "core/statements/bank_csv_header.h"
#include "core/statements/bank_csv_text.h"
#include "core/statements/statement_reading.h"

namespace paylark {
namespace {

constexpr std::size_t kSampleRows = 5;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The mark a field's last '.' or ',' is, when one or two digits follow it and the field is
// otherwise a plain number: '.', ',' or 0 for no vote ("1.234" could be either).
char DecimalMarkOf(std::string_view field) {
  field = TrimWhiteSpace(field);
  while (!field.empty() && (field.front() == '-' || field.front() == '+'))
    field.remove_prefix(1);
  while (!field.empty() && field.back() == '-')
    field.remove_suffix(1);
  const std::size_t mark = field.find_last_of(".,");
  if (mark == std::string_view::npos || mark == 0)
    return 0;
  const std::size_t digitsAfter = field.size() - mark - 1;
  if (digitsAfter < 1 || digitsAfter > 2)
    return 0;
  const bool plain = std::all_of(field.begin(), field.end(), [&](char c) {
    return IsDigit(c) || c == '.' || c == ',' || c == '\'' || c == ' ';
  });
  const bool marksBefore = field.substr(0, mark).find(field[mark]) != std::string_view::npos;
  return plain && !marksBefore ? field[mark] : '\0';
}

std::vector<std::vector<std::string>> BookingColumns(const BankCsvLayout& layout) {
  std::vector<std::vector<std::string>> columns(layout.fieldCount);
  for (std::size_t index = 0; index < layout.rows.size(); ++index) {
    if (!layout.IsBooking(index))
      continue;
    for (std::size_t column = 0; column < layout.fieldCount; ++column)
      columns[column].push_back(layout.rows[index].fields[column]);
  }
  return columns;
}

}  // namespace

char DetectDecimalMark(const BankCsvLayout& layout) {
  std::size_t commas = 0;
  std::size_t points = 0;
  for (std::size_t index = 0; index < layout.rows.size(); ++index) {
    if (!layout.IsBooking(index))
      continue;
    for (const std::string& field : layout.rows[index].fields) {
      const char mark = DecimalMarkOf(field);
      commas += mark == ',' ? 1 : 0;
      points += mark == '.' ? 1 : 0;
    }
  }
  if (commas != points)
    return commas > points ? ',' : '.';
  return layout.separator == ';' ? ',' : '.';
}

Result<BankCsvShape> ShapeOfBankCsv(std::string_view text, const BankCsvLayout& layout) {
  const std::optional<BankDateForm> dateForm = DetectBankDateForm(BookingColumns(layout));
  if (!dateForm)
    return Status::InvalidArgument(
        "No column of the file holds dates in one form (such as 31.12.2026, 12/31/2026 or "
        "2026-12-31): it is not a bank statement in CSV.");
  BankCsvShape shape;
  shape.separator = layout.separator;
  shape.decimalMark = DetectDecimalMark(layout);
  shape.dateForm = dateForm->Name();
  shape.headerLine = HeaderLineText(text, layout);
  shape.header = layout.header().fields;
  for (std::size_t index = layout.headerIndex + 1;
       index < layout.rows.size() && shape.sampleRows.size() < kSampleRows; ++index) {
    if (layout.IsBooking(index))
      shape.sampleRows.push_back(layout.rows[index].fields);
  }
  shape.guessedColumns = GuessBankCsvColumns(shape.header);
  return shape;
}

Result<BankCsvShape> DetectBankCsvShape(std::string_view text) {
  PAYLARK_TRY_ASSIGN(BankCsvText decoded, DecodeBankCsvText(text));
  PAYLARK_TRY_ASSIGN(BankCsvLayout layout, ReadBankCsvLayout(decoded.text));
  PAYLARK_TRY_ASSIGN(BankCsvShape shape, ShapeOfBankCsv(decoded.text, layout));
  shape.encoding = decoded.encoding;
  return shape;
}

}  // namespace paylark

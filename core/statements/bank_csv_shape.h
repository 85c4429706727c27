#pragma once

#include <string_view>

#include "core/base/status.h"
#include "core/statements/bank_csv_columns.h"
#include "core/statements/bank_csv_layout.h"

namespace paylark {

// The shape of a file already split into rows (text: its UTF-8 text). Fails when no column
// holds dates in one form.
Result<BankCsvShape> ShapeOfBankCsv(std::string_view text, const BankCsvLayout& layout);

// The decimal mark most amount-like fields of the booking rows show ("1.234,56" and "12,50" vote
// for the comma, "1,234.56" and "12.50" for the point); without votes a file separated by
// semicolons has the comma, others the point.
char DetectDecimalMark(const BankCsvLayout& layout);

}  // namespace paylark

#pragma once

#include <string_view>

#include "core/base/status.h"
#include "core/statements/bank_csv_columns.h"
#include "core/statements/statement.h"

namespace paylark {

// The bookings of a bank's CSV export (its bytes, in any encoding DecodeBankCsvText reads), in the
// separator, decimal mark and date form the whole file shows. Every booking row (after the header,
// with its number of fields) whose date field is not empty is a transaction: its ID a fingerprint
// of the row's fields, its memo the description followed by the reference, its period the first
// and last booking day. A booking row whose date or amount cannot be read fails the whole file
// with the row's number, so nothing is left out unseen.
Result<Statement> ReadBankCsvStatement(std::string_view bytes, const BankCsvColumns& columns);

}  // namespace paylark

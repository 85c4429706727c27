#pragma once

#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/statements/bank_csv_columns.h"

namespace paylark {

// Reads "date=1,amount=4,counterparty=3": field names (date, amount, debit, credit,
// counterparty, description, reference, and mark for a debit/credit mark column) with columns
// counted from 1, as a user counts them. The date is needed, and either an amount or a debit
// and/or credit column, never both; a mark goes with an amount. A field or a column given twice is
// refused with a message that says which.
Result<BankCsvColumns> ParseBankCsvColumns(std::string_view spec);

// The same form back, fields in the order above: ParseBankCsvColumns reads it to equal columns.
std::string BankCsvColumnsText(const BankCsvColumns& columns);

}  // namespace paylark

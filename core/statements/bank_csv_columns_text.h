#pragma once

#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/statements/bank_csv_columns.h"

namespace paylark {

// A column choice as text, "date=1,amount=5,counterparty=3": the command line's --columns, and
// the form a remembered choice is kept in. Roles are date, amount, debit, credit, counterparty,
// description, reference and mark (the debit/credit mark); columns count from 1. Formatting lists
// the chosen roles in that order.
std::string FormatColumnsText(const BankCsvColumns& columns);
// Blanks around names and numbers are allowed; an unknown role, a role named twice or a column
// that is no whole number from 1 is refused with a message naming it.
Result<BankCsvColumns> ParseColumnsText(std::string_view text);

}  // namespace paylark

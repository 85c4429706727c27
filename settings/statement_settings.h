#pragma once

#include <optional>
#include <string>

#include "core/statements/bank_csv_columns.h"
#include "core/statements/statement_matching.h"

namespace paylark {

// The matching windows and tolerance the user's settings give.
MatchOptions ReadMatchOptions();

// The columns last chosen for a bank CSV whose header line is this one; nothing when none were.
std::optional<BankCsvColumns> RememberedBankCsvColumns(const std::string& headerLine);
// Keeps the columns for the header line, in place of any kept before. A header line holding a
// line break is not kept.
void RememberBankCsvColumns(const std::string& headerLine, const BankCsvColumns& columns);

// The Paylark account a bank CSV with this header line was last imported to; nothing when none
// was. Kept like the columns; an account holding a tab or line break is not kept.
std::optional<std::string> RememberedBankCsvAccount(const std::string& headerLine);
void RememberBankCsvAccount(const std::string& headerLine, const std::string& account);

}  // namespace paylark

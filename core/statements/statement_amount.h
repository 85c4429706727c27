#pragma once

#include <optional>
#include <string_view>

#include "core/base/cents.h"
#include "core/base/status.h"
#include "core/statements/statement.h"

namespace paylark {

// An amount as banks write it, in whole cents: "1250.00", "-84,37", "1.234,56 EUR", "$1,234.50",
// "12,50-", "(12.50)", "+3200". The decimal mark tells the cents from the thousands; the other
// mark, blanks and apostrophes group thousands. More than two decimals are rounded to the cent
// (half away from zero). Empty when the text is no amount; an amount beyond kMaxAmount gives
// cents beyond kMaxAmountCents (not its value), which CheckStatementAmounts refuses.
std::optional<Cents> ParseStatementAmount(std::string_view text, char decimalMark);

// InvalidArgument, naming the booking, when an amount of the statement (a transaction's or the
// closing balance's) is beyond kMaxAmount: whatever the format, such a statement is not read.
Status CheckStatementAmounts(const Statement& statement);

}  // namespace paylark

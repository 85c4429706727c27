#pragma once

#include <optional>
#include <string_view>

#include "core/base/cents.h"

namespace paylark {

// An amount as banks write it, in whole cents: "1250.00", "-84,37", "1.234,56 EUR", "$1,234.50",
// "12,50-", "(12.50)", "+3200". The decimal mark tells the cents from the thousands; the other
// mark, blanks and apostrophes group thousands. More than two decimals are rounded to the cent
// (half away from zero). Empty when the text is no amount or beyond a trillion.
std::optional<Cents> ParseStatementAmount(std::string_view text, char decimalMark);

}  // namespace paylark

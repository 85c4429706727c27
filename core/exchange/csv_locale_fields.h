#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/ole_date_time.h"

namespace paylark {

// Amounts and dates as spreadsheets save them under the process locale, besides the C forms the
// export writes.

// An amount in the locale's number form (LC_MONETARY), with or without the currency sign and with
// or without grouping: "1.234,56", "1234,56", "312,00 €" (de_DE); "$1,234.56", "1,234.56"
// (en_US). Grouping marks stand only where the locale groups ("12,50" is no en_US number); a minus
// sign or parentheses make the value negative.
std::optional<double> ParseLocaleAmount(std::string_view text);
// The forms a refusal names: "1234.56 or 1.234,56" (de_DE), "1234.56" where the locale writes
// numbers as C does.
std::string ExpectedAmountForms();

// A date in the locale's short form (D_FMT), with a two- or four-digit year, then
// optionally a blank and HH:MM or HH:MM:SS: "24.12.2026 18:00" (de_DE), "12/24/2026" (en_US).
std::optional<OleDateTime> ParseLocaleDate(std::string_view text);

}  // namespace paylark

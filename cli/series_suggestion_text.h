#pragma once

#include <string>

#include "core/statements/recurring/series_suggestions.h"

namespace paylark::cli {

// One line of plain `suggest series`, tab-separated: number, title, pattern in words, next due
// date, amount (or "min to max" for a variable one, "+" in front of an income), "seen N times",
// account.
std::string SuggestionLine(std::size_t number, const SeriesSuggestion& suggestion);

// The suggestion as an object of the JSON list: "n", "title", "payTo", "account", "type", "pattern"
// (kind, every and the series command's fields), "next", "amount", "min", "max", "seen",
// "transactions"; `extra` is added before the closing brace (", \"created\": ...").
std::string SuggestionJson(std::size_t number, const SeriesSuggestion& suggestion,
                           const std::string& extra);

// "from 1 Nov 2025 to 30 Nov 2026"
std::string HistoryRange(const SeriesSuggestions& found);

}  // namespace paylark::cli

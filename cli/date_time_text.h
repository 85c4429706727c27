#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/ole_date_time.h"

namespace paylark::cli {

// What a date without a time of day stands for.
enum class DateOnly { kStartOfDay, kEndOfDay };

// "YYYY-MM-DD[ HH:MM[:SS]]" (a "T" may stand for the blank); empty when malformed or invalid.
std::optional<OleDateTime> ParseDateTime(std::string_view text, DateOnly dateOnly);
// "YYYY-MM" as the first day of that month.
std::optional<OleDateTime> ParseMonth(std::string_view text);
// "HH:MM" as seconds into the day.
std::optional<int> ParseTimeOfDay(std::string_view text);

// "YYYY-MM-DDTHH:MM:SS"
std::string IsoDateTime(const OleDateTime& dateTime);
// "YYYY-MM-DD HH:MM"
std::string ListDateTime(const OleDateTime& dateTime);
// "YYYY-MM"
std::string MonthText(const OleDateTime& month);

}  // namespace paylark::cli

#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/base/ole_date_time.h"

namespace paylark {

// What happens to a series' due date that falls on a Saturday or Sunday.
enum class WeekendShift { kKeep, kFridayBefore, kMondayAfter };

// The pattern dialog's items and the command line's words, in the enum's order.
inline constexpr std::array<std::string_view, 3> kWeekendShiftTexts = {
    "Keep it", "Move to the Friday before", "Move to the Monday after"};
inline constexpr std::array<std::string_view, 3> kWeekendShiftWords = {"keep", "before", "after"};

// The due moved off a weekend day to the Friday before or the Monday after, its time of day kept.
// Weekdays, and kKeep, come back unchanged; null when the move leaves the representable dates.
std::optional<OleDateTime> ShiftOffWeekend(const OleDateTime& due, WeekendShift shift);

}  // namespace paylark

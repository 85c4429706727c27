#pragma once

#include <string_view>
#include <variant>

#include "core/base/messages.h"

namespace paylark {

// The amount field's check: a number (blanks around it allowed) from 0 to kMaxAmount, else the
// message the editor and the command line show.
std::variant<double, Message> ParseAmount(std::string_view text);
// A whole number such as the due offset's days, else "Please enter an integer.".
std::variant<int, Message> ParseInteger(std::string_view text);

}  // namespace paylark

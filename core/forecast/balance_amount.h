#pragma once

#include <functional>
#include <string_view>
#include <variant>

#include "core/base/messages.h"

namespace paylark {

using AmountParser = std::function<std::variant<double, Message>(std::string_view)>;

// A balance as typed: an amount as `parse` reads it, after a minus sign for an overdrawn account.
std::variant<double, Message> ParseBalanceAmount(std::string_view text, const AmountParser& parse);

}  // namespace paylark

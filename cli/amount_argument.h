#pragma once

#include <string_view>
#include <variant>

#include "core/base/messages.h"

namespace paylark::cli {

// An amount as a command line gives it: the C form a script writes ("1234.50") or, where that is
// no number, the form the user's locale types ("1234,50" under de_DE, "1,234.50" under en_US).
// The C form goes first, so what a script wrote reads the same under every locale.
std::variant<double, Message> ParseAmountArgument(std::string_view text);

}  // namespace paylark::cli

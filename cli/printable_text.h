#pragma once

#include <string>
#include <string_view>

namespace paylark::cli {

// A file name as it can be printed: control characters become \xNN, so that a name cannot move
// the terminal's cursor or hide what follows it.
std::string Printable(std::string_view name);

}  // namespace paylark::cli

#pragma once

#include <optional>
#include <string>

namespace paylark::cli {

// The working directory the window saved (settings "Velmora"/"Paylark", Directory/Path), or
// empty when none was ever chosen.
std::optional<std::string> SavedWorkingDirectory();

}  // namespace paylark::cli

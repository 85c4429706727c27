#pragma once

#include <optional>
#include <string>

namespace paylark::cli {

// The working directory the window saved in its settings, or empty when none was ever chosen.
std::optional<std::string> SavedWorkingDirectory();

}  // namespace paylark::cli

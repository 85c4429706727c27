#pragma once

#include <cstdint>
#include <string>

namespace paylark::cli {

// The day's reminder notification, remembered in $XDG_RUNTIME_DIR/paylark/ (which lives as long
// as the login session, like the notification server's IDs): a later run on the same day
// replaces it instead of stacking another. Without a runtime folder nothing is remembered.
// day is "YYYY-MM-DD".
std::uint32_t TodaysNotification(const std::string& day);
void RememberNotification(const std::string& day, std::uint32_t id);

}  // namespace paylark::cli

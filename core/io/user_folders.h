#pragma once

#include <string>
#include <string_view>

namespace paylark {

// A base folder of the user's: the variable's value when it is an absolute path, else `underHome`
// in the home folder ($HOME, or the account's home when that is unset); empty when there is no
// home either.
std::string XdgFolder(const char* variable, std::string_view underHome);

// Where Paylark keeps what it can always build again: $XDG_CACHE_HOME/paylark.
std::string UserCacheFolder();
// Where programs keep the user's data: $XDG_DATA_HOME, ~/.local/share by default.
std::string UserDataFolder();

}  // namespace paylark

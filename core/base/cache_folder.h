#pragma once

#include <string>

namespace paylark {

// Where Paylark keeps what it can always build again ($XDG_CACHE_HOME/paylark, or
// ~/.cache/paylark); empty when neither variable is set.
std::string UserCacheFolder();

}  // namespace paylark

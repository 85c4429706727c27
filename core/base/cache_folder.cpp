#include "core/base/cache_folder.h"

#include <cstdlib>

namespace paylark {

std::string UserCacheFolder() {
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/')
    return std::string(cache) + "/paylark";
  const char* home = std::getenv("HOME");
  return home != nullptr && *home != '\0' ? std::string(home) + "/.cache/paylark" : std::string();
}

}  // namespace paylark

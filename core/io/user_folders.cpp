#include "core/io/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace paylark {
namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    return home;
  const passwd* account = getpwuid(getuid());
  return account != nullptr && account->pw_dir != nullptr ? account->pw_dir : "";
}

}  // namespace

std::string XdgFolder(const char* variable, std::string_view underHome) {
  if (const char* value = std::getenv(variable); value != nullptr && *value == '/')
    return value;
  const std::string home = HomeFolder();
  return home.empty() ? home : home + "/" + std::string(underHome);
}

std::string UserCacheFolder() {
  const std::string cache = XdgFolder("XDG_CACHE_HOME", ".cache");
  return cache.empty() ? cache : cache + "/paylark";
}

std::string UserDataFolder() {
  return XdgFolder("XDG_DATA_HOME", ".local/share");
}

}  // namespace paylark

#include "core/io/user_folders.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <string>

#include "tests/support/scoped_variable.h"

namespace paylark {
namespace {

using testing::ScopedVariable;

TEST(UserFoldersTest, AnAbsoluteVariableWinsElseTheHomeFolder) {
  const ScopedVariable home("HOME", "/home/ann");
  {
    const ScopedVariable data("XDG_DATA_HOME", "/data");
    EXPECT_EQ(UserDataFolder(), "/data");
  }
  // A relative value is no base folder at all.
  const ScopedVariable relative("XDG_DATA_HOME", "data");
  EXPECT_EQ(UserDataFolder(), "/home/ann/.local/share");
  const ScopedVariable cache("XDG_CACHE_HOME", nullptr);
  EXPECT_EQ(UserCacheFolder(), "/home/ann/.cache/paylark");
}

TEST(UserFoldersTest, WithoutHomeTheAccountsHomeIsUsed) {
  const ScopedVariable home("HOME", nullptr);
  const ScopedVariable cache("XDG_CACHE_HOME", nullptr);
  const passwd* account = getpwuid(getuid());
  ASSERT_NE(account, nullptr);
  EXPECT_EQ(UserCacheFolder(), std::string(account->pw_dir) + "/.cache/paylark");
}

}  // namespace
}  // namespace paylark

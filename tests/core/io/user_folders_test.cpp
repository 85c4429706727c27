#include "core/io/user_folders.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace paylark {
namespace {

// Sets an environment variable for the test's length, or unsets it.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name))
      old_ = old;
    if (value != nullptr)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  ~ScopedVariable() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

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

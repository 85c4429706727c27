#include "core/sync/syncthing_config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/scoped_variable.h"

namespace paylark {
namespace {

SyncthingConfig WithGui(SyncthingConfig::Gui gui) {
  SyncthingConfig config;
  config.gui = std::move(gui);
  config.folders = {
      {"home-all", "~/", false},
      {"bills", "~/Sync/Bills/", false},
      {"sync2", "/home/ann/Sync2", false},
      {"old", "/home/ann/Old", true},
      {"", "~", false},  // as the folder defaults would read: no folder
  };
  return config;
}

TEST(SyncthingConfig, TheDeepestFolderThatSharesThePathIsAsked) {
  const SyncthingConfig config = WithGui({true, false, "127.0.0.1:8384", "k&ey42"});
  const auto found = FindSyncthingFolder(config, "/home/ann/Sync/Bills/Paylark Files", "/home/ann");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found,
            (SyncthingFolder{"http://127.0.0.1:8384", "k&ey42", "bills", "/home/ann/Sync/Bills"}));
  // The folder itself counts; a name that merely starts alike does not.
  EXPECT_EQ(FindSyncthingFolder(config, "/home/ann/Sync/Bills", "/home/ann")->folderId, "bills");
  EXPECT_EQ(FindSyncthingFolder(config, "/home/ann/Sync/Bills2", "/home/ann")->folderId,
            "home-all");
  EXPECT_EQ(FindSyncthingFolder(config, "/home/ann/Sync2/Paylark Files", "/home/bob")->folderId,
            "sync2");
  // Paused folders and a folder without an ID share nothing.
  EXPECT_FALSE(FindSyncthingFolder(config, "/home/ann/Old/Paylark Files", "/home/bob"));
  EXPECT_FALSE(FindSyncthingFolder(config, "/srv/Paylark Files", "/home/ann"));
}

TEST(SyncthingConfig, TheGuiAddressIsReachedOnLoopback) {
  const struct {
    std::optional<SyncthingConfig::Gui> gui;
    const char* address;  // nullptr: no REST API to ask
  } cases[] = {
      {SyncthingConfig::Gui{true, true, "127.0.0.1:8384", "k"}, "https://127.0.0.1:8384"},
      {SyncthingConfig::Gui{true, false, "0.0.0.0:9090", "k"}, "http://127.0.0.1:9090"},
      {SyncthingConfig::Gui{true, false, "[::]:8384", "k"}, "http://[::1]:8384"},
      {SyncthingConfig::Gui{true, false, "localhost:8384", " k "}, "http://localhost:8384"},
      {SyncthingConfig::Gui{true, false, "unix:///run/st.sock", "k"}, nullptr},
      {SyncthingConfig::Gui{true, false, "127.0.0.1:8384", ""}, nullptr},
      {SyncthingConfig::Gui{false, false, "127.0.0.1:8384", "k"}, nullptr},
      {std::nullopt, nullptr},
  };
  for (const auto& c : cases) {
    SyncthingConfig config;
    config.gui = c.gui;
    config.folders = {{"f", "/data", false}};
    const auto found = FindSyncthingFolder(config, "/data/Paylark Files", "/");
    if (c.address == nullptr) {
      EXPECT_FALSE(found) << (c.gui ? c.gui->address : "no gui");
    } else {
      ASSERT_TRUE(found) << c.address;
      EXPECT_EQ(found->address, c.address);
      EXPECT_EQ(found->apiKey, "k");
    }
  }
}

TEST(SyncthingConfig, StateHomeIsLookedInBeforeConfigHome) {
  const testing::ScopedVariable state("XDG_STATE_HOME", "/st");
  const testing::ScopedVariable config("XDG_CONFIG_HOME", "relative");  // not absolute: ignored
  const testing::ScopedVariable home("HOME", "/home/ann");
  EXPECT_EQ(SyncthingConfigPaths(),
            (std::vector<std::string>{"/st/syncthing/config.xml",
                                      "/home/ann/.config/syncthing/config.xml"}));
}

}  // namespace
}  // namespace paylark

#include "core/sync/syncthing_config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace paylark {
namespace {

// The shape Syncthing writes, with the folder defaults that describe no folder.
std::string Config(const std::string& gui, const std::string& folders) {
  return "<configuration version=\"37\">\n" + folders +
         "    <device id=\"AAAA\" name=\"laptop\" compression=\"metadata\"></device>\n" + gui +
         "    <defaults>\n"
         "        <folder id=\"\" label=\"\" path=\"~\" type=\"sendreceive\"></folder>\n"
         "    </defaults>\n"
         "</configuration>\n";
}

const std::string kGui =
    "    <gui enabled=\"true\" tls=\"false\" debugging=\"false\">\n"
    "        <address>127.0.0.1:8384</address>\n"
    "        <apikey>k&amp;ey42</apikey>\n"
    "        <theme>default</theme>\n"
    "    </gui>\n";

const std::string kFolders =
    "    <folder id=\"home-all\" label=\"Home\" path=\"~/\" type=\"sendreceive\">\n"
    "        <device id=\"AAAA\" introducedBy=\"\"></device>\n"
    "    </folder>\n"
    "    <folder id=\"bills\" label=\"Bills &amp; co\" path=\"~/Sync/Bills/\"\n"
    "            type=\"sendreceive\"></folder>\n"
    "    <folder id=\"sync2\" label=\"\" path=\"/home/ann/Sync2\" paused=\"false\"></folder>\n"
    "    <folder id=\"old\" label=\"\" path=\"/home/ann/Old\" paused=\"true\"></folder>\n";

TEST(SyncthingConfig, TheDeepestFolderThatSharesThePathIsAsked) {
  const std::string xml = Config(kGui, kFolders);
  const auto found = FindSyncthingFolder(xml, "/home/ann/Sync/Bills/Paylark Files", "/home/ann");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found,
            (SyncthingFolder{"http://127.0.0.1:8384", "k&ey42", "bills", "/home/ann/Sync/Bills"}));
  // The folder itself counts; a name that merely starts alike does not.
  EXPECT_EQ(FindSyncthingFolder(xml, "/home/ann/Sync/Bills", "/home/ann")->folderId, "bills");
  EXPECT_EQ(FindSyncthingFolder(xml, "/home/ann/Sync/Bills2", "/home/ann")->folderId, "home-all");
  EXPECT_EQ(FindSyncthingFolder(xml, "/home/ann/Sync2/Paylark Files", "/home/bob")->folderId,
            "sync2");
  // Paused folders and the folder defaults share nothing.
  EXPECT_FALSE(FindSyncthingFolder(xml, "/home/ann/Old/Paylark Files", "/home/bob"));
  EXPECT_FALSE(FindSyncthingFolder(xml, "/srv/Paylark Files", "/home/ann"));
}

TEST(SyncthingConfig, TheGuiAddressIsReachedOnLoopback) {
  const std::string folder = "<folder id=\"f\" path=\"/data\"></folder>\n";
  const struct {
    const char* gui;
    const char* address;  // nullptr: no REST API to ask
  } cases[] = {
      {"<gui enabled=\"true\" tls=\"true\"><address>127.0.0.1:8384</address>"
       "<apikey>k</apikey></gui>",
       "https://127.0.0.1:8384"},
      {"<gui tls=\"false\">\n<address>0.0.0.0:9090</address><apikey>k</apikey></gui>",
       "http://127.0.0.1:9090"},
      {"<gui><address>[::]:8384</address><apikey>k</apikey></gui>", "http://[::1]:8384"},
      {"<gui><address>localhost:8384</address><apikey> k </apikey></gui>", "http://localhost:8384"},
      {"<gui><address>unix:///run/st.sock</address><apikey>k</apikey></gui>", nullptr},
      {"<gui><address>127.0.0.1:8384</address></gui>", nullptr},
      {"<gui enabled=\"false\"><address>127.0.0.1:8384</address><apikey>k</apikey></gui>", nullptr},
      {"", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gui);
    const auto found = FindSyncthingFolder(Config(c.gui, folder), "/data/Paylark Files", "/");
    if (c.address == nullptr) {
      EXPECT_FALSE(found);
    } else {
      ASSERT_TRUE(found);
      EXPECT_EQ(found->address, c.address);
      EXPECT_EQ(found->apiKey, "k");
    }
  }
}

TEST(SyncthingConfig, StateHomeIsLookedInBeforeConfigHome) {
  setenv("XDG_STATE_HOME", "/st", 1);
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  setenv("HOME", "/home/ann", 1);
  EXPECT_EQ(SyncthingConfigPaths(),
            (std::vector<std::string>{"/st/syncthing/config.xml",
                                      "/home/ann/.config/syncthing/config.xml"}));
}

}  // namespace
}  // namespace paylark

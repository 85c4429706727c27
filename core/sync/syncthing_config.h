#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paylark {

// What it takes to ask a running Syncthing to rescan one of its folders through its REST API.
struct SyncthingFolder {
  std::string address;  // "http://127.0.0.1:8384": scheme, host and port, no path
  std::string apiKey;
  std::string folderId;
  std::string folderPath;  // absolute, "~" expanded, no trailing "/"

  bool operator==(const SyncthingFolder&) const = default;
};

// Where Syncthing keeps config.xml, in the order it looks: $XDG_STATE_HOME/syncthing, then
// $XDG_CONFIG_HOME/syncthing (each defaulting under $HOME).
std::vector<std::string> SyncthingConfigPaths();

// The folder of Syncthing's config.xml text that shares `path` (the folder itself or one above
// it; the deepest when several do), with the GUI's address and API key. Nothing when no folder
// shares it, the folder is paused, or the GUI is disabled, has no API key or listens on a Unix
// socket. `home` expands a leading "~" of folder paths.
std::optional<SyncthingFolder> FindSyncthingFolder(std::string_view configXml,
                                                   std::string_view path, std::string_view home);

// The same over the first config.xml of SyncthingConfigPaths() that can be read.
std::optional<SyncthingFolder> FindSyncthingFolder(std::string_view path);

}  // namespace paylark

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paylark {

// What Syncthing's config.xml says that matters for asking it to rescan, as an XML reader found
// it: the GUI (which serves the REST API) and the shared folders; and the devices, whose names
// say who made a conflict copy.
struct SyncthingConfig {
  struct Gui {
    bool enabled = true;
    bool tls = false;
    std::string address;  // "127.0.0.1:8384", "0.0.0.0:8384", "unix:///…"
    std::string apiKey;
  };
  struct Folder {
    std::string id;
    std::string path;  // as written: may start with "~"
    bool paused = false;
  };
  struct Device {
    std::string id;  // "ABCDEFG-HIJKLMN-…"
    std::string name;
  };
  std::optional<Gui> gui;
  std::vector<Folder> folders;
  std::vector<Device> devices;
};

// The name of the device that a conflict copy's short device ID ("ABCDEFG", the first block of
// its ID) stands for; empty when no device of the configuration has that ID or a name.
std::string SyncthingDeviceName(const SyncthingConfig& config, std::string_view shortId);

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

// The configured folder that shares `path` (the folder itself or one above it; the deepest when
// several do), with the GUI's address and API key. Nothing when no folder shares it, the folder
// is paused, or the GUI is disabled, has no API key or listens on a Unix socket. `home` expands
// a leading "~" of folder paths.
std::optional<SyncthingFolder> FindSyncthingFolder(const SyncthingConfig& config,
                                                   std::string_view path, std::string_view home);

}  // namespace paylark

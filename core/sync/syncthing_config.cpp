#include "core/sync/syncthing_config.h"

#include "core/io/user_folders.h"

namespace paylark {
namespace {

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\t'))
    text.pop_back();
  std::size_t first = 0;
  while (first < text.size() && (text[first] == ' ' || text[first] == '\n' || text[first] == '\t'))
    ++first;
  return text.substr(first);
}

// "0.0.0.0:8384" and "[::]:8384" listen everywhere: they are reached on the loopback address.
std::optional<std::string> GuiAddress(std::string address, bool tls) {
  if (address.starts_with("unix"))
    return std::nullopt;
  for (const std::string_view scheme : {"http://", "https://"}) {
    if (address.starts_with(scheme)) {
      tls = scheme == "https://";
      address.erase(0, scheme.size());
    }
  }
  if (address.empty())
    return std::nullopt;
  if (address.starts_with("0.0.0.0:"))
    address.replace(0, 7, "127.0.0.1");
  else if (address.starts_with("[::]:"))
    address.replace(0, 4, "[::1]");
  else if (address.front() == ':')
    address.insert(0, "127.0.0.1");
  return (tls ? "https://" : "http://") + address;
}

std::string FolderPath(std::string path, std::string_view home) {
  if (path == "~" || path.starts_with("~/"))
    path.replace(0, 1, home);
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

bool Holds(std::string_view folder, std::string_view path) {
  if (folder.empty() || folder.front() != '/')
    return false;
  if (folder == "/")
    return true;
  return path == folder || (path.starts_with(folder) && path[folder.size()] == '/');
}

}  // namespace

std::vector<std::string> SyncthingConfigPaths() {
  return {XdgFolder("XDG_STATE_HOME", ".local/state") + "/syncthing/config.xml",
          XdgFolder("XDG_CONFIG_HOME", ".config") + "/syncthing/config.xml"};
}

std::optional<SyncthingFolder> FindSyncthingFolder(const SyncthingConfig& config,
                                                   std::string_view path, std::string_view home) {
  if (!config.gui || !config.gui->enabled)
    return std::nullopt;
  const std::string apiKey = Trimmed(config.gui->apiKey);
  const std::optional<std::string> address =
      GuiAddress(Trimmed(config.gui->address), config.gui->tls);
  if (apiKey.empty() || !address)
    return std::nullopt;

  std::optional<SyncthingFolder> found;
  for (const SyncthingConfig::Folder& folder : config.folders) {
    if (folder.id.empty() || folder.paused)
      continue;
    const std::string folderPath = FolderPath(folder.path, home);
    if (!Holds(folderPath, path))
      continue;
    if (!found || folderPath.size() > found->folderPath.size())
      found = SyncthingFolder{*address, apiKey, folder.id, folderPath};
  }
  return found;
}

std::string SyncthingDeviceName(const SyncthingConfig& config, std::string_view shortId) {
  if (shortId.empty())
    return {};
  for (const SyncthingConfig::Device& device : config.devices) {
    const std::string_view id = device.id;
    if (id.starts_with(shortId) && (id.size() == shortId.size() || id[shortId.size()] == '-'))
      return device.name;
  }
  return {};
}

}  // namespace paylark

#include "core/sync/syncthing_config.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace paylark {
namespace {

// config.xml is written by Syncthing itself: elements and attributes in one known form, text
// escaped with the five predefined entities. A small reader of that form is all it needs.
std::string Unescape(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string plain;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, character] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        plain += character;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced)
      plain += text[i++];
  }
  return plain;
}

// The opening tags "<name " or "<name>" and where each ends.
struct Tag {
  std::string_view attributes;
  std::size_t end = 0;  // just past '>'
};

std::vector<Tag> OpeningTags(std::string_view xml, std::string_view name) {
  std::vector<Tag> tags;
  const std::string open = "<" + std::string(name);
  for (std::size_t at = xml.find(open); at != std::string_view::npos; at = xml.find(open, at + 1)) {
    const std::size_t after = at + open.size();
    if (after >= xml.size() || (xml[after] != ' ' && xml[after] != '>' && xml[after] != '\n' &&
                                xml[after] != '\t' && xml[after] != '/'))
      continue;
    const std::size_t close = xml.find('>', after);
    if (close == std::string_view::npos)
      break;
    tags.push_back({xml.substr(after, close - after), close + 1});
  }
  return tags;
}

std::string Attribute(std::string_view attributes, std::string_view name) {
  const std::string key = " " + std::string(name) + "=\"";
  std::string padded = " " + std::string(attributes);
  for (char& c : padded) {
    if (c == '\n' || c == '\t' || c == '\r')
      c = ' ';
  }
  const std::size_t at = padded.find(key);
  if (at == std::string::npos)
    return {};
  const std::size_t start = at + key.size();
  const std::size_t end = padded.find('"', start);
  return end == std::string::npos ? std::string() : Unescape(padded.substr(start, end - start));
}

// The text of the first <name>…</name> of xml.
std::string ElementText(std::string_view xml, std::string_view name) {
  const std::string open = "<" + std::string(name) + ">";
  const std::string close = "</" + std::string(name) + ">";
  const std::size_t start = xml.find(open);
  if (start == std::string_view::npos)
    return {};
  const std::size_t end = xml.find(close, start + open.size());
  if (end == std::string_view::npos)
    return {};
  return Unescape(xml.substr(start + open.size(), end - start - open.size()));
}

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

std::string XdgHome(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value && *value == '/')
    return value;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/" + fallback;
}

}  // namespace

std::vector<std::string> SyncthingConfigPaths() {
  return {XdgHome("XDG_STATE_HOME", ".local/state") + "/syncthing/config.xml",
          XdgHome("XDG_CONFIG_HOME", ".config") + "/syncthing/config.xml"};
}

std::optional<SyncthingFolder> FindSyncthingFolder(std::string_view configXml,
                                                   std::string_view path, std::string_view home) {
  const std::vector<Tag> gui = OpeningTags(configXml, "gui");
  if (gui.empty() || Attribute(gui.front().attributes, "enabled") == "false")
    return std::nullopt;
  const std::size_t guiEnd = configXml.find("</gui>", gui.front().end);
  const std::string_view guiBody = configXml.substr(gui.front().end, guiEnd - gui.front().end);
  const std::string apiKey = Trimmed(ElementText(guiBody, "apikey"));
  const std::optional<std::string> address = GuiAddress(
      Trimmed(ElementText(guiBody, "address")), Attribute(gui.front().attributes, "tls") == "true");
  if (apiKey.empty() || !address)
    return std::nullopt;

  std::optional<SyncthingFolder> found;
  for (const Tag& tag : OpeningTags(configXml, "folder")) {
    // The folder defaults (an empty ID) describe no folder.
    const std::string id = Attribute(tag.attributes, "id");
    if (id.empty() || Attribute(tag.attributes, "paused") == "true")
      continue;
    const std::string folderPath = FolderPath(Attribute(tag.attributes, "path"), home);
    if (!Holds(folderPath, path))
      continue;
    if (!found || folderPath.size() > found->folderPath.size())
      found = SyncthingFolder{*address, apiKey, id, folderPath};
  }
  return found;
}

std::optional<SyncthingFolder> FindSyncthingFolder(std::string_view path) {
  const char* home = std::getenv("HOME");
  for (const std::string& config : SyncthingConfigPaths()) {
    std::ifstream file(config, std::ios::binary);
    if (!file)
      continue;
    std::ostringstream text;
    text << file.rdbuf();
    return FindSyncthingFolder(text.str(), path, home ? home : "");
  }
  return std::nullopt;
}

}  // namespace paylark

#include "cli/template_folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace paylark::cli {
namespace {

std::string UserDataFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    return data;
  }
  const char* home = std::getenv("HOME");
  return home != nullptr ? std::string(home) + "/.local/share" : std::string();
}

}  // namespace

std::vector<std::string> TemplateFolders() {
  std::vector<std::string> folders;
  if (const std::string data = UserDataFolder(); !data.empty()) {
    folders.push_back(data + "/paylark/Templates");
  }
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error)
    folders.push_back((executable.parent_path() / "Templates").string());
  folders.push_back(std::string(PAYLARK_DATADIR) + "/paylark/Templates");
  return folders;
}

}  // namespace paylark::cli

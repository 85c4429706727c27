#include "core/base/data_folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace paylark {

std::optional<std::string> FindTemplate(std::string_view name,
                                        std::span<const std::string> folders) {
  for (const std::string& folder : folders) {
    const std::filesystem::path path = std::filesystem::path(folder) / name;
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error))
      return path.string();
  }
  return std::nullopt;
}

namespace {

namespace fs = std::filesystem;

std::string UserDataFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    return data;
  }
  const char* home = std::getenv("HOME");
  return home != nullptr && *home != '\0' ? std::string(home) + "/.local/share" : std::string();
}

fs::path ExecutableFolder() {
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : executable.parent_path();
}

void AddOnce(std::vector<std::string>& folders, const fs::path& folder) {
  const std::string text = folder.lexically_normal().string();
  for (const std::string& known : folders) {
    if (known == text)
      return;
  }
  folders.push_back(text);
}

}  // namespace

std::string UserCacheFolder() {
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/')
    return std::string(cache) + "/paylark";
  const char* home = std::getenv("HOME");
  return home != nullptr && *home != '\0' ? std::string(home) + "/.cache/paylark" : std::string();
}

std::vector<std::string> DataFolders(DataKind kind) {
  const char* sub = kind == DataKind::kTemplates ? "Templates" : "";
  std::vector<std::string> folders;
  if (const std::string user = UserDataFolder(); kind == DataKind::kTemplates && !user.empty()) {
    AddOnce(folders, fs::path(user) / "paylark" / sub);
  }
  if (const fs::path executable = ExecutableFolder(); !executable.empty()) {
    AddOnce(folders, executable / sub);
    AddOnce(folders, executable / PAYLARK_DATADIR_FROM_BINDIR / "paylark" / sub);
  }
  AddOnce(folders, fs::path(PAYLARK_DATADIR) / "paylark" / sub);
  return folders;
}

std::string FindDataFile(DataKind kind, const std::string& name) {
  return FindTemplate(name, DataFolders(kind)).value_or(std::string());
}

}  // namespace paylark

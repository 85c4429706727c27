#include "core/export/data_files.h"

#include <algorithm>

#include "core/io/user_folders.h"

namespace paylark {
namespace {

void AddOnce(std::vector<std::string>& folders, std::string folder) {
  if (std::find(folders.begin(), folders.end(), folder) == folders.end())
    folders.push_back(std::move(folder));
}

}  // namespace

std::vector<std::string> DataFolders(DataKind kind, const FileSystem& files) {
  const std::string_view sub = kind == DataKind::kTemplates ? "Templates" : "";
  std::vector<std::string> folders;
  if (const std::string user = UserDataFolder(); kind == DataKind::kTemplates && !user.empty())
    AddOnce(folders, JoinPath(JoinPath(user, "paylark"), sub));
  if (const std::string executable = ParentFolder(files.ExecutablePath()); !executable.empty()) {
    AddOnce(folders, JoinPath(executable, sub));
    const std::string installed = JoinPath(executable, PAYLARK_DATADIR_FROM_BINDIR);
    AddOnce(folders, JoinPath(JoinPath(installed, "paylark"), sub));
  }
  AddOnce(folders, JoinPath(JoinPath(PAYLARK_DATADIR, "paylark"), sub));
  return folders;
}

std::optional<std::string> FindTemplate(std::string_view name, std::span<const std::string> folders,
                                        FileSystem& files) {
  for (const std::string& folder : folders) {
    std::string path = JoinPath(folder, name);
    if (const Result<FileInfo> info = files.Inspect(path);
        info.ok() && info.value().kind == FileKind::kRegular)
      return path;
  }
  return std::nullopt;
}

std::string FindDataFile(DataKind kind, const std::string& name, FileSystem& files) {
  return FindTemplate(name, DataFolders(kind, files), files).value_or(std::string());
}

}  // namespace paylark

#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/io/file_system.h"

namespace paylark {

// The folders that may hold Paylark's own files (templates, the manual), most personal first:
// the user's data folder ($XDG_DATA_HOME/paylark, for edited copies of the templates; only for
// templates), the executable's own folder (a build tree or a portable copy), the installed data
// folder found from the executable (<prefix>/share/paylark, whatever the prefix) and the one
// fixed when Paylark was built.
enum class DataKind { kTemplates, kManual };
std::vector<std::string> DataFolders(DataKind kind, const FileSystem& files);

// The path of the first folder, in the order given, that holds a regular file of that name. A file
// there that cannot be read is still found, so that reading it tells the user why.
std::optional<std::string> FindTemplate(std::string_view name, std::span<const std::string> folders,
                                        FileSystem& files);

// The first of DataFolders(kind) that holds a regular file of that name, or empty.
std::string FindDataFile(DataKind kind, const std::string& name, FileSystem& files);

}  // namespace paylark

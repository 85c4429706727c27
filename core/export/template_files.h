#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/io/file_system.h"

namespace paylark {

// The file's bytes; a file larger than the largest rendering is refused.
Result<std::string> ReadFileBytes(const std::string& path, FileSystem& files);
// The file's bytes up to its first NUL byte, unchanged otherwise.
Result<std::string> ReadTemplate(const std::string& path, FileSystem& files);

}  // namespace paylark

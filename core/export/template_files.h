#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/records/status.h"

namespace paylark {

// The path of the first folder, in the order given, that holds a regular file of that name.
std::optional<std::string> FindTemplate(std::string_view name,
                                        std::span<const std::string> folders);

// The file's bytes; a file larger than the largest rendering is refused.
Result<std::string> ReadFileBytes(const std::string& path);
// The file's bytes up to its first NUL byte, unchanged otherwise.
Result<std::string> ReadTemplate(const std::string& path);

}  // namespace paylark

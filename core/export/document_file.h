#pragma once

#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/io/file_system.h"

namespace paylark {

// Writes a finished document through a temporary file beside it, so the path ends up holding the
// whole document or whatever it held before, never a part.
Status WriteDocument(const std::string& path, std::string_view bytes, FileSystem& files);

}  // namespace paylark

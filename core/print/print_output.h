#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/io/file_system.h"

namespace paylark {

// Writes the rendered print page to pagePath and copies "icon.bmp" and "recicon.bmp", each found
// in the first of templateFolders that holds it, into the page's folder, since the page names them
// relatively. The page is written even when an icon is missing; the result then says which.
Status WritePrintPage(std::string_view html, const std::string& pagePath,
                      std::span<const std::string> templateFolders, FileSystem& files);

}  // namespace paylark

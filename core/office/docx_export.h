#pragma once

#include <string>

#include "core/base/status.h"
#include "core/office/office_export.h"

namespace paylark {

// Writes the month's dues as a .docx Word document at `path`, replacing it as a whole or not at
// all: a heading with the month text (the caller formats it, "MMMM-yyyy") and one table of the
// dues with a summary row. An empty month writes a blank document.
Status WriteDocxExport(const std::string& path, const OfficeExportRequest& request);

}  // namespace paylark

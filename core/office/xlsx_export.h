#pragma once

#include <string>

#include "core/base/status.h"
#include "core/office/office_export.h"

namespace paylark {

// The longest text a workbook cell or comment holds; longer texts are cut and counted.
inline constexpr std::size_t kXlsxMaxTextCharacters = 32767;

// Writes the month's dues as an .xlsx workbook at `path`, replacing it as a whole or not at all.
// The month text goes to C4 (the caller formats it, "%B, %Y"), the dues to rows 10 onwards, the
// paid and unpaid sums to F4 and F5; every value is text. An empty month still writes a workbook.
Result<OfficeExportReport> WriteXlsxExport(const std::string& path,
                                           const OfficeExportRequest& request);

}  // namespace paylark

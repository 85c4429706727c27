#pragma once

#include <string>

#include "core/base/ole_date_time.h"

namespace paylark {

// The export formats: an Excel workbook, a Word document, an HTML page and a PDF document.
enum class ExportFormat { kExcel, kWord, kHtml, kPdf };

// The exported month as the format's heading shows it, under the process locale: "March, 2007"
// (Excel), "March-2007" (Word), "March - 2007" (HTML), "Mar - 2007" (PDF).
std::string MonthHeading(ExportFormat format, const OleDateTime& month);

}  // namespace paylark

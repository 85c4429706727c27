#include "core/export/month_heading.h"

#include "core/base/format.h"

namespace paylark {

std::string MonthHeading(ExportFormat format, const OleDateTime& month) {
  switch (format) {
    case ExportFormat::kExcel:
      return FormatStrftime(month, "%B, %Y");
    case ExportFormat::kWord:
      return FormatDate(month, "MMMM-yyyy");
    case ExportFormat::kHtml:
      return FormatDate(month, "MMMM - yyyy");
    case ExportFormat::kPdf:
      return FormatDate(month, "MMM - yyyy");
  }
  return {};
}

}  // namespace paylark

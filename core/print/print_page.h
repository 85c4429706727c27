#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/base/ole_date_time.h"
#include "core/base/status.h"
#include "core/records/due_record.h"

namespace paylark {

inline constexpr std::string_view kPrintTemplateName = "printtemplate.html";
inline constexpr std::string_view kPrintPageName = "print.html";
inline constexpr std::string_view kIconName = "icon.bmp";
inline constexpr std::string_view kSeriesIconName = "recicon.bmp";

// " Mar/2005 " when both dates fall in one month, else "Mar/2005 - May/2005".
std::string MonthRangeText(const OleDateTime& from, const OleDateTime& to);

// Fills the print template with the checked dues in row order: the record section once per due
// with its running number and icon name, the header with "Due Date Details" and the month range,
// the footer emptied of its placeholders, and the paid, unpaid and total sums. Sum placeholders
// inside the header and footer stay as they are. Fails only when the page would pass 64 MiB.
Result<std::string> RenderPrintPage(std::string_view templateText,
                                    std::span<const DueRecord> checked, const OleDateTime& from,
                                    const OleDateTime& to);

}  // namespace paylark

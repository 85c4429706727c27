#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/records/due_record.h"

namespace paylark {

inline constexpr std::string_view kCsvHeader =
    "ID,Title,Pay To,Account,Amount,Due,Start,Type,Status,Series,Notes,Paid On,Paid Amount,"
    "Reference";

// The dues as CSV (UTF-8, no byte-order mark, CR LF line ends): the header row, then one row
// per due in due-date order (ties keep the order given). Amounts are in the C form ("1234.50"),
// dates "YYYY-MM-DD HH:MM:SS", so the file reads the same under every locale. The payment
// details are empty for a due without them. Texts that a
// spreadsheet would take for formulas are written through CsvSafeText.
std::string RenderCsv(std::vector<DueRecord> dues);

// "YYYY-MM-DD HH:MM:SS"; empty for a date that is not valid.
std::string CsvDateTime(const OleDateTime& dateTime);

}  // namespace paylark

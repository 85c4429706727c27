#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "core/records/due_record.h"
#include "core/records/month_selection.h"

namespace paylark::cli {

// The months whose dues `export ics|csv` writes; without a first month, every due.
struct MonthRange {
  std::optional<OleDateTime> first;
  std::optional<OleDateTime> last;
};

// The dues of the range that pass the filter, in due-date order.
std::vector<DueRecord> RangeRows(const RecordStore& store, const MonthRange& range,
                                 MonthFilter filter);

// The exchange formats of `export`: each writes the rows to output and returns the exit code.
int ExportCalendar(const std::vector<DueRecord>& rows, const std::string& output,
                   CommandContext& context);
int ExportCsv(const std::vector<DueRecord>& rows, const std::string& output,
              CommandContext& context);

}  // namespace paylark::cli

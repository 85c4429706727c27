#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/clock.h"
#include "core/base/messages.h"
#include "core/base/status.h"
#include "core/io/file_system.h"
#include "core/records/due_record.h"
#include "core/records/record_store.h"

namespace paylark {

struct ImportedDue {
  std::size_t row = 0;    // the file's row, the header being row 1
  DueRecord record;       // without an ID; the store gives one
  std::string seriesKey;  // the row's Series text: rows that share one become one new series
};

struct RefusedRow {
  std::size_t row = 0;
  Message reason;
};

// What an import would do: every row of the file checked, none written yet.
struct ImportPlan {
  std::vector<ImportedDue> dues;  // file order
  std::vector<RefusedRow> refused;
  bool ok() const { return refused.empty(); }
};

// Reads CSV as the CSV export writes it and as spreadsheets save it: fields separated by ",",
// ";" or tabs (whichever the header line holds most of), a header naming the columns (any order,
// any letter case, unknown ones ignored, Due required), then one due per row. Empty fields take
// the editor's defaults; amounts may be in the C form, as the month list shows them or in the
// locale's number form, dates ISO or the locale's short date; the apostrophe the export puts
// before formula-like texts is taken off. Blank rows are passed over; every other row is either a
// due or a refused row with its reason.
ImportPlan PlanCsvImport(std::string_view text, const Clock& clock);

// The largest CSV file an import reads: far more rows than years of dues.
inline constexpr std::uint64_t kLargestCsvImport = std::uint64_t{256} << 20;

// The bytes of a CSV file to import: a regular file of at most kLargestCsvImport bytes. A file
// too large is an invalid argument; one that is no file or cannot be read an I/O error. Each
// failure's message is the one to show.
Result<std::string> ReadCsvImportFile(FileSystem& files, const std::string& path);

// "row N: <reason>"
std::string RefusalText(const RefusedRow& refused);

// Called after each due is added, with the number added so far.
using ImportProgress = std::function<void(std::size_t added)>;

// Adds the plan's dues in one store batch, each series under a new series ID, and returns the
// new record IDs in file order. All or nothing: when a write fails, the dues this import added
// are removed again (no other file is touched) and the failure is returned.
Result<std::vector<std::string>> ApplyCsvImport(const ImportPlan& plan, RecordStore& store,
                                                const ImportProgress& progress = {});

}  // namespace paylark

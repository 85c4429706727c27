#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/clock.h"
#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/records/record_store.h"
#include "core/recurrence/new_due.h"
#include "core/recurrence/recurrence_pattern.h"

namespace paylark {

struct SeriesResult {
  // True when the occurrences ran to the end of the range (or to the last year a date can
  // hold); false when the pattern was refused or a write failed.
  bool success = false;
  std::string seriesId;                // taken on every run, a refused one too
  std::vector<std::string> recordIds;  // generation order; every one is in the store and on disk
  Status status;                       // why success is false
};

// More dues than this from one pattern are made only when the user confirms it.
inline constexpr std::size_t kManyDues = 100000;

// How many dues a pattern makes, and the last occurrence; nothing for a refused pattern.
struct SeriesSurvey {
  std::size_t count = 0;
  std::optional<OleDateTime> last;
};
SeriesSurvey SurveySeries(const RecurrencePattern& pattern);

// Expands the pattern into occurrences and adds one placeholder record per occurrence (empty
// texts, amount 0, type 1, unpaid, due at the moment generation began, start date the
// occurrence). A refused pattern stores nothing; a failed write stops the run, the records
// written before it stay in the store and in the list, and the one that failed is not kept.
// progress hears of every record added.
SeriesResult GenerateSeries(const RecurrencePattern& pattern, RecordStore& store,
                            const Clock& clock, const Progress& progress = {});

// As GenerateSeries, but each record is written finished at once (as CompletePlaceholders would
// finish it), so an interrupted run leaves complete dues, a prefix of the series, or none. A due
// date past the year 9999 refuses the pattern before anything is written.
SeriesResult GenerateDues(const RecurrencePattern& pattern, RecordStore& store,
                          const DueRecord& sheet, const DueOffset& offset,
                          const Progress& progress = {});

}  // namespace paylark

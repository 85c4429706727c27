#pragma once

#include <string>
#include <vector>

#include "core/base/clock.h"
#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/records/record_store.h"
#include "core/recurrence/recurrence_pattern.h"

namespace paylark {

struct SeriesResult {
  // True when the occurrences ran to the end of the range (or to the last year a date can
  // hold); false when the pattern was refused or a write failed.
  bool success = false;
  std::string seriesId;                // taken on every run, a refused one too
  std::vector<std::string> recordIds;  // generation order; every one is in the store
  Status status;                       // why success is false
};

// Expands the pattern into occurrences and adds one placeholder record per occurrence (empty
// texts, amount 0, type 1, unpaid, due at the moment generation began, start date the
// occurrence). A refused pattern stores nothing; a failed write stops the run, and the records
// added before it stay in the store and in the list. progress hears of every placeholder added.
SeriesResult GenerateSeries(const RecurrencePattern& pattern, RecordStore& store,
                            const Clock& clock, const Progress& progress = {});

}  // namespace paylark

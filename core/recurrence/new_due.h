#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/records/due_record.h"
#include "core/records/record_store.h"
#include "core/recurrence/weekend_shift.h"

namespace paylark {

// How long after its start a recurring due falls due: whole days plus a time of day, then moved
// off a weekend as the pattern asks.
struct DueOffset {
  std::int64_t days = 1;
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  WeekendShift weekend = WeekendShift::kKeep;

  std::int64_t TotalSeconds() const;
};

inline constexpr char kDueBeyondLastYear[] = "the due date would lie beyond the year 9999";

// The placeholder finished from the sheet: due at its start plus the offset, the sheet's texts,
// amount and type, paid only when it is the first and the sheet is paid. Nothing when the due
// date would pass the year 9999.
std::optional<DueRecord> FinishedDue(DueRecord placeholder, const DueRecord& sheet,
                                     const DueOffset& offset, bool first);

// Turns placeholders into finished dues: each keeps its ID, start date and series ID, falls due
// at its start plus the offset and takes the sheet's texts, amount and type; only the first is
// paid, and only when the sheet is. Vanished IDs are passed over, nothing is written when a due
// date would pass the year 9999, and a failed write stops the run. progress hears of every due
// written.
Status CompletePlaceholders(RecordStore& store, const std::vector<std::string>& placeholderIds,
                            const DueRecord& sheet, const DueOffset& offset,
                            const Progress& progress = {});

// Removes placeholders that will not become dues (the sheet was cancelled or closed, finished
// as a single due, or their pattern was replaced). The change marker is left alone. progress
// hears of every placeholder removed.
Status DeletePlaceholders(RecordStore& store, const std::vector<std::string>& placeholderIds,
                          const Progress& progress = {});

}  // namespace paylark

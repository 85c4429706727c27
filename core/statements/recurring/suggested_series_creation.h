#pragma once

#include <string>
#include <vector>

#include "core/base/clock.h"
#include "core/base/status.h"
#include "core/records/record_store.h"
#include "core/statements/recurring/series_suggestions.h"

namespace paylark {

inline constexpr int kSuggestedMembers = 12;

struct CreatedSeries {
  std::string seriesId;
  std::vector<std::string> upcoming;  // unpaid, from the next occurrence on
  std::vector<std::string> paid;      // the bookings seen, one paid due each
};

// Writes the suggestion as a series in one store batch: `count` unpaid members from its next
// occurrence, due on the occurrence moved off weekends as the bank moved it, and one paid member
// per booking seen (paid on the booking date with its amount, ID as reference and counterparty),
// so the series' history is there at once. A booking whose ID some due already has as its
// payment reference is not added again. All or nothing: a failed write removes what this wrote.
Result<CreatedSeries> CreateSuggestedSeries(const SeriesSuggestion& suggestion, int count,
                                            RecordStore& store, const Clock& clock);

}  // namespace paylark

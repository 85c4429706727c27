#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/records/due_record.h"
#include "core/records/record_store.h"

namespace paylark {

// The answer to "whole series or this record?"; a due outside a series is asked nothing and
// counts as kThisRecord. kThisAndLater reaches the edited due and the unpaid members due at or
// after it, so a change never rewrites the paid past.
enum class SeriesChoice { kWholeSeries, kThisAndLater, kThisRecord, kCancel };

// How many dues each answer to the Modify question changes, the edited one included.
struct SeriesScopeCounts {
  std::size_t thisRecord = 1;
  std::size_t thisAndLater = 1;
  std::size_t wholeSeries = 1;
};
SeriesScopeCounts CountSeriesScopes(const RecordStore& store, const DueRecord& stored);

// The IDs a series-wide change under the choice reaches, in map order: every member for the
// whole series; the stored due and its unpaid members due at or after it for kThisAndLater; the
// stored due alone otherwise.
std::vector<std::string> MembersInScope(const RecordStore& store, const DueRecord& stored,
                                        SeriesChoice choice);

// True when a whole-series change would carry nothing: same record ID, title, series ID, pay-to,
// account, amount, type, renewal and notice. Dates, notes and the paid flag take no part.
bool SeriesUnchanged(const DueRecord& edited, const DueRecord& stored);

// Replaces the edited record as edited and gives the other members the edited title, pay-to,
// account, amount and type, in the given order. Stops at the first failed write. progress hears
// of every member written.
Status ModifyMembers(RecordStore& store, const DueRecord& edited,
                     const std::vector<std::string>& members, const Progress& progress = {});
// ModifyMembers over every member of the edited record's series, in map order.
Status ModifySeries(RecordStore& store, const DueRecord& edited, const Progress& progress = {});

// What the Modify command writes once the sheet is accepted: the members in the chosen scope when
// a series-wide field changed, otherwise the edited record alone; nothing on cancel.
Status ApplyModify(RecordStore& store, SeriesChoice choice, const DueRecord& edited,
                   const DueRecord& stored, const Progress& progress = {});

// What the Delete command removes: the whole series, the one record (the change marker is
// rewritten), or nothing. The whole-series choice on a due outside a series removes that due.
Status ApplyDelete(RecordStore& store, SeriesChoice choice, const DueRecord& record,
                   const Progress& progress = {});

}  // namespace paylark

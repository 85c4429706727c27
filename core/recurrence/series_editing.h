#pragma once

#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/records/due_record.h"
#include "core/records/record_store.h"

namespace paylark {

// The answer to "whole series or this record?"; a due outside a series is asked nothing and
// counts as kThisRecord.
enum class SeriesChoice { kWholeSeries, kThisRecord, kCancel };

// True when a whole-series change would carry nothing: same record ID, title, series ID, pay-to,
// account, amount and type. Dates, notes and the paid flag take no part.
bool SeriesUnchanged(const DueRecord& edited, const DueRecord& stored);

// Replaces the edited record as edited and gives every other member of its series the edited
// title, pay-to, account, amount and type, members in map order. Stops at the first failed write.
// progress hears of every member written.
Status ModifySeries(RecordStore& store, const DueRecord& edited, const Progress& progress = {});

// What the Modify command writes once the sheet is accepted: the whole series when that was
// chosen and a series-wide field changed, otherwise the edited record alone; nothing on cancel.
Status ApplyModify(RecordStore& store, SeriesChoice choice, const DueRecord& edited,
                   const DueRecord& stored, const Progress& progress = {});

// What the Delete command removes: the whole series, the one record (the change marker is
// rewritten), or nothing. The whole-series choice on a due outside a series removes that due.
Status ApplyDelete(RecordStore& store, SeriesChoice choice, const DueRecord& record,
                   const Progress& progress = {});

}  // namespace paylark

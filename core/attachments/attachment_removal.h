#pragma once

#include <string>

#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/records/record_store.h"
#include "core/recurrence/series_editing.h"

namespace paylark {

struct DeleteOutcome {
  Status deleted;  // as ApplyDelete tells it
  // The first attachment that could not be moved; it stays in the records folder.
  Status attachmentsMoved;
};

// Deletes the due, or with kWholeSeries every member of its series, as ApplyDelete does; then
// the attachments of every due that went are moved into `backupsFolder` (never deleted), also
// when a whole-series deletion stopped part way.
DeleteOutcome DeleteWithAttachments(RecordStore& store, SeriesChoice choice,
                                    const DueRecord& record, const std::string& backupsFolder,
                                    const Progress& progress = {});

}  // namespace paylark

#include "core/attachments/attachment_removal.h"

#include <set>
#include <vector>

#include "core/attachments/attachment_store.h"

namespace paylark {

DeleteOutcome DeleteWithAttachments(RecordStore& store, SeriesChoice choice,
                                    const DueRecord& record, const std::string& backupsFolder,
                                    const Progress& progress) {
  if (choice == SeriesChoice::kCancel)
    return {};
  std::vector<std::string> going{record.recordId};
  if (choice == SeriesChoice::kWholeSeries && IsSeriesMember(record))
    going = store.records().SeriesMembers(record.seriesId);
  Status deleted = ApplyDelete(store, choice, record, progress);
  AttachmentStore attachments(store.files(), store.workingDirectory());
  // One listing tells which of a long series have attachments at all.
  const Result<std::set<std::string>> attached = attachments.RecordsWithAttachments();
  Status moved = Status::Ok();
  for (const std::string& id : going) {
    if (store.records().Contains(id) || (attached.ok() && !attached.value().contains(id)))
      continue;
    if (Status status = attachments.MoveToRemoved(id, backupsFolder); !status.ok() && moved.ok())
      moved = status;
  }
  return {std::move(deleted), std::move(moved)};
}

}  // namespace paylark

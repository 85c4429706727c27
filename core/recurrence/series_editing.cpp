#include "core/recurrence/series_editing.h"

#include <string>
#include <vector>

namespace paylark {

bool SeriesUnchanged(const DueRecord& edited, const DueRecord& stored) {
  return edited.recordId == stored.recordId && edited.title == stored.title &&
         edited.seriesId == stored.seriesId && edited.payTo == stored.payTo &&
         edited.account == stored.account && edited.amount == stored.amount &&
         edited.type == stored.type;
}

Status ModifySeries(RecordStore& store, const DueRecord& edited, const Progress& progress) {
  StoreBatch batch(store);
  const std::vector<std::string> members = store.SeriesMembers(edited.seriesId);
  std::size_t done = 0;
  for (const std::string& id : members) {
    DueRecord member = edited;
    if (id != edited.recordId) {
      member = store.Get(id);
      member.title = edited.title;
      member.payTo = edited.payTo;
      member.account = edited.account;
      member.amount = edited.amount;
      member.type = edited.type;
    }
    Status status = store.Replace(member);
    if (!status.ok())
      return status;
    Report(progress, ++done, members.size());
  }
  return batch.Finish();
}

Status ApplyModify(RecordStore& store, SeriesChoice choice, const DueRecord& edited,
                   const DueRecord& stored, const Progress& progress) {
  if (choice == SeriesChoice::kCancel)
    return Status::Ok();
  if (choice == SeriesChoice::kWholeSeries && IsSeriesMember(stored) &&
      !SeriesUnchanged(edited, stored)) {
    return ModifySeries(store, edited, progress);
  }
  return store.Replace(edited);
}

Status ApplyDelete(RecordStore& store, SeriesChoice choice, const DueRecord& record,
                   const Progress& progress) {
  if (choice == SeriesChoice::kCancel)
    return Status::Ok();
  if (choice == SeriesChoice::kWholeSeries && IsSeriesMember(record)) {
    return store.DeleteSeries(record.seriesId, progress);
  }
  return store.Delete(record.recordId, ChangeMarker::kWrite);
}

}  // namespace paylark

#include "core/recurrence/series_editing.h"

#include <algorithm>
#include <string>
#include <vector>

namespace paylark {

bool SeriesUnchanged(const DueRecord& edited, const DueRecord& stored) {
  return edited.recordId == stored.recordId && edited.title == stored.title &&
         edited.seriesId == stored.seriesId && edited.payTo == stored.payTo &&
         edited.account == stored.account && edited.amount == stored.amount &&
         edited.type == stored.type && edited.renewsOn == stored.renewsOn &&
         edited.noticePeriod == stored.noticePeriod;
}

namespace {

bool LaterAndUnpaid(const DueRecord& member, const DueRecord& stored) {
  return !IsPaid(member) && !(member.dueDate < stored.dueDate);
}

}  // namespace

SeriesScopeCounts CountSeriesScopes(const RecordStore& store, const DueRecord& stored) {
  SeriesScopeCounts counts;
  if (!IsSeriesMember(stored))
    return counts;
  const std::vector<std::string> members = store.records().SeriesMembers(stored.seriesId);
  counts.wholeSeries = std::max<std::size_t>(members.size(), 1);
  for (const std::string& id : members) {
    if (id != stored.recordId && LaterAndUnpaid(store.Get(id), stored))
      ++counts.thisAndLater;
  }
  return counts;
}

std::vector<std::string> MembersInScope(const RecordStore& store, const DueRecord& stored,
                                        SeriesChoice choice) {
  if (!IsSeriesMember(stored) ||
      (choice != SeriesChoice::kWholeSeries && choice != SeriesChoice::kThisAndLater)) {
    return {stored.recordId};
  }
  std::vector<std::string> members = store.records().SeriesMembers(stored.seriesId);
  if (choice == SeriesChoice::kThisAndLater) {
    std::erase_if(members, [&](const std::string& id) {
      return id != stored.recordId && !LaterAndUnpaid(store.Get(id), stored);
    });
  }
  return members;
}

Status ModifySeries(RecordStore& store, const DueRecord& edited, const Progress& progress) {
  return ModifyMembers(store, edited, store.records().SeriesMembers(edited.seriesId), progress);
}

Status ModifyMembers(RecordStore& store, const DueRecord& edited,
                     const std::vector<std::string>& members, const Progress& progress) {
  StoreBatch batch(store);
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
      member.renewsOn = edited.renewsOn;
      member.noticePeriod = edited.noticePeriod;
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
  if ((choice == SeriesChoice::kWholeSeries || choice == SeriesChoice::kThisAndLater) &&
      IsSeriesMember(stored) && !SeriesUnchanged(edited, stored)) {
    return ModifyMembers(store, edited, MembersInScope(store, stored, choice), progress);
  }
  return store.Replace(edited);
}

Status ApplyDelete(RecordStore& store, SeriesChoice choice, const DueRecord& record,
                   const Progress& progress) {
  if (choice == SeriesChoice::kCancel)
    return Status::Ok();
  if (choice == SeriesChoice::kWholeSeries && IsSeriesMember(record)) {
    return DeleteSeries(store, record.seriesId, progress);
  }
  return store.Delete(record.recordId, ChangeMarker::kWrite);
}

}  // namespace paylark

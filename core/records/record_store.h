#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/clock.h"
#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/records/change_marker_file.h"
#include "core/records/due_map.h"
#include "core/records/due_record.h"
#include "core/records/folder_loader.h"
#include "core/records/record_files.h"
#include "core/records/record_ids.h"
#include "core/records/record_index.h"
#include "core/records/record_swap.h"

namespace paylark {

// Whether a deletion rewrites the change marker "preferences.alm".
enum class ChangeMarker { kWrite, kSkip };

struct AddResult {
  // Given even when the write failed, as the record is in the map; empty only when the map had
  // no room for it and nothing was written.
  std::string recordId;
  Status status;
};

// The one owner of the user's records: the record map and the record files of
// <working directory>/Paylark Files. Every change writes (or removes) the record's file first and
// then updates the map; a failed write still updates the map, as the window shows what the user
// entered until the next Reload, and is returned so the user can be told. A record is never
// written into, or removed with, a file that holds another record ID. A change whose change
// marker could not be rewritten took effect: it reports success and the marker's failure waits
// in TakeMarkerFailure. Loading is FolderLoader's; the store adopts what it loaded.
class RecordStore {
 public:
  // The files reach the disk through `files`, which must outlive the store.
  RecordStore(const Clock& clock, std::string workingDirectory, FileSystem& files);
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;
  ~RecordStore();

  const std::string& workingDirectory() const { return workingDirectory_; }
  FileSystem& files() const { return files_; }
  // Takes effect at the next operation; records are not moved.
  void SetWorkingDirectory(std::string workingDirectory);
  // Tests and benchmarks switch flushing off.
  void SetDurability(Durability durability);
  // Where Reload keeps its snapshot of the record files (FolderLoader::SetSnapshotFile).
  void SetSnapshotFile(std::string path, SnapshotWriting writing = SnapshotWriting::kAtOnce) {
    loader_.SetSnapshotFile(std::move(path), writing);
  }

  // Empties the map and loads every record file (FolderLoader::Load).
  ReloadReport Reload(const Progress& progress = {});
  // A start that shows the records at once: maps what the snapshot holds without looking at the
  // records folder; false, with an empty map, when there is no usable snapshot. The map stays
  // the snapshot's until Confirm tells whether the folder still matches it. folderMade as in
  // FolderLoader::LoadSnapshot.
  bool LoadSnapshot(const std::function<void()>& folderMade);
  // Ends a LoadSnapshot with a check of the folder made since (FolderLoader::CheckJob): null
  // when the records must be loaded again (Reload).
  std::optional<ReloadReport> Confirm(const FolderCheck& check);
  bool AwaitsConfirmation() const { return loader_.AwaitsConfirmation(); }
  // The conflict copies and balance files that the last Reload or Confirm found.
  const FolderListing& listing() const { return listing_; }
  // Tells the store of a balance file written since, so that those who read the listing before
  // the next scan find it.
  void NoteBalanceFile(std::string fileName) { listing_.NoteBalanceFile(std::move(fileName)); }
  // Reads only the named files of the records folder again (FolderLoader::ReloadFiles).
  ReloadReport ReloadFiles(const std::vector<std::string>& fileNames);

  // Gives the record a new unique ID (suffix 10 for a single due, the add counter for a series
  // member), writes its file without replacing any existing one, then maps it.
  AddResult Add(DueRecord record);
  // Writes the record's file under its own ID, then maps it. The file must still hold what the
  // store read or wrote last: when another writer changed it meanwhile, nothing is written and
  // the map takes the file's version; when another writer removed it, the record is unmapped.
  // Either way the failure says so, so that no change is lost silently.
  Status Replace(const DueRecord& record);
  // Writes changed records, new single dues and other files of the records folder (a balance
  // entry) as one swap (record_swap.h): a kill at any instant leaves all of them or none, a load
  // finishing a swap that was decided. Each changed record's file must still be as read (as
  // Replace checks); the new dues get new IDs, given back in their order. Then maps them all.
  Result<std::vector<std::string>> WriteTogether(const std::vector<DueRecord>& changed,
                                                 std::vector<DueRecord> added,
                                                 const std::vector<NewRecordFile>& others);
  // Makes the record files hold exactly these records, each in a file named after its ID, by a
  // swap that a kill at any instant leaves with the old files or the new ones whole
  // (record_swap.h). Conflict copies stay; the change marker is rewritten; the store is
  // reloaded. A record ID that is not usable changes nothing. With balance files, the folder's
  // balance files are made exactly these in the same swap; without, they stay. The moves (of
  // files beneath the records folder, such as attachments) are made by the same swap.
  Status ReplaceAllRecords(const std::vector<DueRecord>& records,
                           const std::optional<std::vector<NewRecordFile>>& balanceFiles = {},
                           const SwapMoves& moves = {});
  // Takes the record out of the map and leaves the disk alone: for a record whose file was
  // never written, so that undoing an operation cannot remove another process's file.
  void Forget(const std::string& recordId) { records_.Forget(recordId); }
  // A copy of the stored record, or a default record with an empty ID.
  DueRecord Get(const std::string& recordId) const;
  // Whether the record's file is in the records folder now, whatever the map holds: another
  // writer may have deleted the due since it was read.
  bool FileExists(const std::string& recordId) const;
  // Removes the file, then (with kWrite) rewrites the marker, then unmaps. A file that cannot be
  // removed ends the deletion with the record kept. A missing file, or one that holds another
  // record, is no error (and is left alone).
  Status Delete(const std::string& recordId, ChangeMarker marker);

  // "recId" + the local date and time to the second. The ID is claimed by a file in the records
  // folder, as a record ID is, so another process starting a series in the same second takes the
  // next free second; never one that a record in the map already carries.
  std::string MakeSeriesId();

  // The last failure to rewrite the change marker since the previous call, or Ok.
  Status TakeMarkerFailure() { return marker_.TakeFailure(); }

  // The map, each record's file and the series.
  const RecordIndex& records() const { return records_; }
  const DueMap& map() const { return records_.map(); }

 private:
  friend class StoreBatch;

  // Before a replace: the file holds the record as the map has it (or this batch replaces it,
  // or it cannot be read or decoded, which the replace repairs as before); else a failure.
  Status CheckStillAsRead(const std::string& fileName, const std::string& recordId);

  const Clock& clock_;
  FileSystem& files_;
  std::string workingDirectory_;
  std::unique_ptr<RecordFolder> folder_;
  Durability durability_ = Durability::kSynced;
  RecordIds ids_;
  ChangeMarkerFile marker_;
  RecordIndex records_;
  FolderListing listing_;
  // Last, so that a snapshot written behind a load is joined before what it reads goes.
  FolderLoader loader_;
};

// Deletes every member of the series in map order with the marker, as one batch; stops at the
// first failure. progress hears of every member removed.
Status DeleteSeries(RecordStore& store, const std::string& seriesId, const Progress& progress = {});

// Brackets a many-record operation (a series, a whole-series change): it flushes once instead of
// per file, and rewrites the change marker once, at Finish or on destruction.
class [[nodiscard]] StoreBatch {
 public:
  explicit StoreBatch(RecordStore& store);
  StoreBatch(const StoreBatch&) = delete;
  StoreBatch& operator=(const StoreBatch&) = delete;
  ~StoreBatch() { (void)Finish(); }
  // Flushes what the batch wrote and rewrites the marker once.
  Status Finish();

 private:
  RecordStore* store_;
};

}  // namespace paylark

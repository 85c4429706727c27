#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/base/clock.h"
#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/base/text_hash.h"
#include "core/records/due_map.h"
#include "core/records/due_record.h"
#include "core/records/due_view.h"
#include "core/records/record_files.h"
#include "core/records/record_loading.h"
#include "core/records/record_snapshot.h"
#include "core/records/record_swap.h"
#include "core/records/series_index.h"

namespace paylark {

// Whether a deletion rewrites the change marker "preferences.alm".
enum class ChangeMarker { kWrite, kSkip };

// When a load writes the snapshot it put together: before it returns, or behind it.
enum class SnapshotWriting { kAtOnce, kBehind };

struct SkippedFile {
  std::string fileName;
  std::string reason;
};

struct ReloadReport {
  std::size_t loaded = 0;
  // Never changed or removed; also lists the loaded dues whose extension block cannot be read.
  std::vector<SkippedFile> skipped;
  // Sync engines' conflict copies ("duedate<ID>.sync-conflict-….due"): never loaded as records.
  std::vector<std::string> conflictCopies;
  std::size_t filesRead = 0;  // the rest came from the snapshot
  // Not Ok when the records folder could not be listed (its permissions): the map is empty
  // because nothing could be read, not because there are no dues.
  Status folderStatus;
};

struct AddResult {
  std::string recordId;  // given even when the write failed: the record is in the map
  Status status;
};

// Whether the file has the name a record file with this ID is given: "duedate<ID>.due", the ID
// trimmed.
bool IsNamedAfter(std::string_view fileName, std::string_view recordId);

// The one owner of the user's records: the record map and the record files of
// <working directory>/Paylark Files. Every change writes (or removes) the record's file first and
// then updates the map; a failed write still updates the map, as the window shows what the user
// entered until the next Reload, and is returned so the user can be told. A record is never
// written into, or removed with, a file that holds another record ID. A change whose change
// marker could not be rewritten took effect: it reports success and the marker's failure waits
// in TakeMarkerFailure.
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
  std::string RecordsFolder() const;
  // Tests and benchmarks switch flushing off.
  void SetDurability(Durability durability);
  // Where Reload keeps its snapshot of the record files (outside the records folder, which a
  // sync engine may share); empty, as at first, for none. Deleting the file is always safe.
  // Written behind, the snapshot is written on a thread of its own after the load that read the
  // files has returned: the file system must then allow writes from several threads.
  void SetSnapshotFile(std::string path, SnapshotWriting writing = SnapshotWriting::kAtOnce) {
    AwaitSnapshot();
    snapshotPath_ = std::move(path);
    snapshotWriting_ = writing;
  }
  // Waits for the snapshot a load is writing behind it, if any.
  void AwaitSnapshot() { snapshotWriter_ = {}; }

  // Empties the map and loads every record file, in byte order of the names. Files that cannot
  // be read or decoded, or are too large to be records, are skipped and listed. Temporary files
  // of writers that are gone are removed. A file whose inode number and change time match the
  // snapshot is not opened: its bytes come from the snapshot, which is then brought up to date.
  // progress hears how many of the files to be read have been read; a reload that takes a
  // while before it reads any (a large snapshot to map, a large folder to list) hears how many
  // of the snapshot's records have been mapped first.
  ReloadReport Reload(const Progress& progress = {});
  // A start that shows the records at once: maps what the snapshot holds without looking at the
  // records folder; false, with an empty map, when there is no usable snapshot. The map stays
  // the snapshot's until Confirm tells whether the folder still matches it.
  bool LoadSnapshot();
  // What a scan of the records folder found, reduced to what Confirm needs.
  struct FolderCheck {
    // Of the record files; null when the scan failed or a file changed too recently to be
    // trusted.
    std::optional<FolderIdentity> identity;
    FolderScan others;  // the scan without its record files
  };
  // Scans the records folder with each file's identity: a job that may run on any thread while
  // the store is used, and hands the scan's memory back before it ends.
  std::function<FolderCheck()> CheckJob() const;
  // Ends a LoadSnapshot with a check of the folder made since: when the snapshot described every
  // record file, the map is what Reload gives, and the report tells what else the check found
  // (temporary files of writers that are gone are removed). Null when the records must be
  // loaded again (Reload).
  std::optional<ReloadReport> Confirm(const FolderCheck& check);
  bool AwaitsConfirmation() const { return unconfirmed_.has_value(); }
  // The sync engines' conflict copies that the last Reload or Confirm found.
  const std::vector<std::string>& conflictCopies() const { return conflictCopies_; }
  // The balance files ("*.bal") that the last Reload or Confirm found, in byte order.
  const std::vector<std::string>& balanceFiles() const { return balanceFiles_; }
  // Tells the store of a balance file written since, so that those who read the list before the
  // next scan find it.
  void NoteBalanceFile(std::string fileName);
  // Reads only the named files of the records folder again: a file that is gone unmaps its
  // record, one that does not decode keeps the mapped record and is listed; the rest of the map
  // stays as it is. Sync engines' temporary names are ignored.
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
  void Forget(const std::string& recordId);
  // A copy of the stored record, or a default record with an empty ID.
  DueRecord Get(const std::string& recordId) const;
  bool Contains(const std::string& recordId) const { return map_.Contains(recordId); }
  // Whether the record's file is in the records folder now, whatever the map holds: another
  // writer may have deleted the due since it was read.
  bool FileExists(const std::string& recordId) const;
  // Removes the file, then (with kWrite) rewrites the marker, then unmaps. A file that cannot be
  // removed ends the deletion with the record kept. A missing file, or one that holds another
  // record, is no error (and is left alone).
  Status Delete(const std::string& recordId, ChangeMarker marker);
  // The IDs of the series' records, in map order.
  std::vector<std::string> SeriesMembers(const std::string& seriesId) const;
  // Deletes every member in map order with the marker; stops at the first failure. progress
  // hears of every member removed.
  Status DeleteSeries(const std::string& seriesId, const Progress& progress = {});
  // Where the record stands among its series' members by due date; null outside a series or
  // for an unknown ID. Costs no visit of the other records.
  std::optional<SeriesPosition> SeriesPositionOf(const std::string& recordId) const;

  // "recId" + the local date and time to the second. The ID is claimed by a file in the records
  // folder, as a record ID is, so another process starting a series in the same second takes the
  // next free second; never one that a record in the map already carries.
  std::string MakeSeriesId();

  // Many-record operations (a series, a whole-series change) flush once instead of per file,
  // and rewrite the change marker once.
  void BeginBatch();
  Status EndBatch();

  // The last failure to rewrite the change marker since the previous call, or Ok.
  Status TakeMarkerFailure() { return std::exchange(markerFailure_, Status::Ok()); }

  const DueMap& map() const { return map_; }
  std::size_t size() const { return map_.size(); }

 private:
  // False when another process claimed the series ID first.
  bool ClaimSeriesId(const std::string& seriesId);
  // The file the record was read from: "duedate<ID>.due", or the other name that holds it.
  std::string FileNameOf(const std::string& recordId) const;
  // Maps a record read from the file, unless another file already owns its ID: of two files
  // holding one ID the later name in byte order, the one a load reads last, owns it. The file
  // that loses is listed in `skipped` as a duplicate and never acted on.
  void Adopt(std::string_view fileName, const DueRecord& record, std::vector<SkippedFile>& skipped);
  // The same for a record viewed in its file's bytes, with its payment details in `held`.
  // kKnownNew: the caller knows the map does not hold the ID.
  enum class IdCheck { kLookUp, kKnownNew };
  void Adopt(std::string_view fileName, const DueView& due, const DueRecord& held,
             std::vector<SkippedFile>& skipped, IdCheck check);
  // Remembers the file a record was read from when it is not named after the record.
  void NoteOwner(std::string_view fileName, std::string_view recordId);
  struct Snapshot;
  // Scans the records folder and loads its record files into the emptied map.
  void LoadFolder(ReloadReport& report, const Progress& progress);
  // Reports what the scan found besides record files, and removes stale temporary files.
  void TakeScan(const FolderScan& scan, ReloadReport& report);
  // Reads and maps one record file; what cannot be read or decoded goes to the report.
  void LoadFile(const std::string& fileName, ReloadReport& report);
  void ClearMap();
  void TrimHeap();
  // Maps every record the snapshot holds, in its order (that of the names), and tells `seen` of
  // each entry; a file that does not decode goes to skipped. False for a snapshot that holds
  // nothing or is damaged past its checksum.
  bool MapSnapshot(SnapshotReader& reader, std::vector<SkippedFile>& skipped,
                   const std::function<void(const SnapshotEntry&)>& seen,
                   const Progress& progress = {});
  // Loads the scanned record files, from the snapshot where it still holds them.
  void LoadRecords(const std::vector<FolderEntry>& records, Snapshot& snapshot,
                   ReloadReport& report, const Progress& progress);
  // Maps one loaded file, and keeps it for the next snapshot when its identity can be trusted.
  // otherNames: whether a file not named after its record's ID has come yet.
  void MapLoaded(const FolderEntry& file, LoadJob& job, Snapshot& snapshot, ReloadReport& report,
                 bool& otherNames);
  // Holds the snapshot file's bytes in `snapshot`; null when there is no usable snapshot.
  std::optional<SnapshotReader> OpenSnapshot(Snapshot& snapshot) const;
  // Writes the snapshot a load put together, at once or behind it.
  void SaveSnapshot(Snapshot&& snapshot);
  static void WriteSnapshot(FileSystem& files, const std::string& snapshotPath,
                            const std::string& recordsFolder, const Snapshot& snapshot);
  std::string NextRecordId(int suffix);
  void WriteMarker();
  // Before a replace: the file holds the record as the map has it (or this batch replaces it,
  // or it cannot be read or decoded, which the replace repairs as before); else a failure.
  Status CheckStillAsRead(const std::string& fileName, const std::string& recordId);
  // The file exists and decodes to a record with another ID.
  bool HoldsAnotherRecord(const std::string& fileName, const std::string& recordId) const;
  void TrackSeries(const std::optional<DueRecord>& before, const DueView* after);

  const Clock& clock_;
  FileSystem& files_;
  std::string workingDirectory_;
  std::unique_ptr<RecordFolder> folder_;
  Durability durability_ = Durability::kSynced;
  std::string snapshotPath_;
  SnapshotWriting snapshotWriting_ = SnapshotWriting::kAtOnce;
  DueMap map_;
  int addCounter_ = 0;
  std::int64_t idSecond_ = 0;  // the logical clock of record and series IDs; only moves forward
  std::int64_t seriesSecond_ = 0;
  int batchDepth_ = 0;
  bool markerPending_ = false;  // changed inside a batch: the marker is written once, at its end
  Status markerFailure_;
  // Members by series ID; looked up by views too.
  std::unordered_map<std::string, std::size_t, TextHash, std::equal_to<>> seriesSizes_;
  // Records read from a file not named after their ID ("duedate<ID>.DUE", a renamed file), by
  // ID: changes and deletions act on that file.
  std::unordered_map<std::string, std::string> ownerFiles_;
  SeriesIndex seriesOrder_;
  std::string extension_;  // scratch of Adopt: the encoded extension block
  // What a LoadSnapshot mapped, until Confirm.
  struct Unconfirmed {
    FolderIdentity identity;
    std::vector<SkippedFile> skipped;  // files in the snapshot that do not decode
  };
  std::optional<Unconfirmed> unconfirmed_;
  std::vector<std::string> conflictCopies_;
  std::vector<std::string> balanceFiles_;
  // Writes the snapshot behind a load; after what it uses, so that it is joined before they go.
  std::jthread snapshotWriter_;
  // Hands the pages a load freed back to the system while the window goes on; last, so that it
  // is joined before anything else goes.
  std::jthread trim_;
};

// Brackets a many-record operation; EndBatch is called by Finish or on destruction.
class [[nodiscard]] StoreBatch {
 public:
  explicit StoreBatch(RecordStore& store) : store_(&store) { store.BeginBatch(); }
  StoreBatch(const StoreBatch&) = delete;
  StoreBatch& operator=(const StoreBatch&) = delete;
  ~StoreBatch() {
    if (store_)
      (void)store_->EndBatch();
  }
  Status Finish() {
    RecordStore* store = std::exchange(store_, nullptr);
    return store ? store->EndBatch() : Status::Ok();
  }

 private:
  RecordStore* store_;
};

}  // namespace paylark

#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/io/file_system.h"
#include "core/records/record_files.h"
#include "core/records/record_index.h"
#include "core/records/record_loading.h"
#include "core/records/record_snapshot.h"

namespace paylark {

// When a load writes the snapshot it put together: before it returns, or behind it.
enum class SnapshotWriting { kAtOnce, kBehind };

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

// The files of the records folder that are not records but that others read: the sync engines'
// conflict copies and the balance files ("*.bal"), each list in byte order.
struct FolderListing {
  std::vector<std::string> conflictCopies;
  std::vector<std::string> balanceFiles;

  // A balance file written since the scan, so that those who read the list before the next
  // scan find it.
  void NoteBalanceFile(std::string fileName);
};

// What a load hands the store besides the records it mapped.
struct LoadedFolder {
  ReloadReport report;
  FolderListing listing;
};

// What a scan of the records folder found, reduced to what a start from the snapshot needs to be
// confirmed.
struct FolderCheck {
  // Of the record files; null when the scan failed or a file changed too recently to be trusted.
  std::optional<FolderIdentity> identity;
  FolderScan others;  // the scan without its record files
};

// Loads the record files into a record index: from the snapshot where it still describes them,
// otherwise by reading them, several at once; and writes the snapshot again after a load.
class FolderLoader {
 public:
  explicit FolderLoader(FileSystem& files) : files_(files) {}
  FolderLoader(const FolderLoader&) = delete;
  FolderLoader& operator=(const FolderLoader&) = delete;

  // Where the snapshot of the record files is kept (outside the records folder, which a sync
  // engine may share); empty for none. Deleting the file is always safe. Written behind, the
  // snapshot is written on a thread of its own after the load that read the files has returned:
  // the file system must then allow writes from several threads.
  void SetSnapshotFile(std::string path, SnapshotWriting writing);
  // Waits for the snapshot and the map image a load is writing behind it, if any.
  void AwaitWriters() {
    imageWriter_ = {};
    snapshotWriter_ = {};
  }

  // Empties the index and loads every record file, in byte order of the names. Files that cannot
  // be read or decoded, or are too large to be records, are skipped and listed. Temporary files
  // of writers that are gone are removed. A file whose inode number and change time match the
  // snapshot is not opened: its bytes come from the snapshot, which is then brought up to date.
  // progress hears how many of the files to be read have been read; a load that takes a while
  // before it reads any (a large snapshot to map, a large folder to list) hears how many of the
  // snapshot's records have been mapped first.
  LoadedFolder Load(const RecordFolder& folder, RecordIndex& records, const Progress& progress);
  // Maps what the snapshot holds without looking at the records folder; false, with an empty
  // index, when there is no usable snapshot. The index stays the snapshot's until Confirm.
  // folderMade is called once the records folder exists, before the snapshot is read: a watch of
  // the folder begun then is in place by the time the records are mapped.
  bool LoadSnapshot(const RecordFolder& folder, RecordIndex& records,
                    const std::function<void()>& folderMade);
  bool AwaitsConfirmation() const { return unconfirmed_.has_value(); }
  // Ends a LoadSnapshot with a check of the folder made since: when the snapshot described every
  // record file, the index is what Load gives, and the result tells what else the check found.
  // Null when the records must be loaded again.
  std::optional<LoadedFolder> Confirm(const RecordFolder& folder, const FolderCheck& check);
  // The start from the snapshot is not to be confirmed any more (another folder was chosen).
  void Forget() { unconfirmed_.reset(); }

  // Reads only the named files again: a file that is gone unmaps its record, one that does not
  // decode keeps the mapped record and is listed. Sync engines' temporary names are ignored.
  static ReloadReport ReloadFiles(const RecordFolder& folder, RecordIndex& records,
                                  const std::vector<std::string>& fileNames);
  // Scans the records folder with each file's identity: a job that may run on any thread while
  // the store is used, and hands the scan's memory back before it ends.
  static std::function<FolderCheck()> CheckJob(FileSystem& files, std::string recordsFolder);

 private:
  struct Snapshot;
  // What a LoadSnapshot mapped, until Confirm.
  struct Unconfirmed {
    FolderIdentity identity;
    std::vector<SkippedFile> skipped;  // files in the snapshot that do not decode
  };

  // Maps one loaded file, and keeps it for the next snapshot when its identity can be trusted.
  // otherNames: whether a file not named after its record's ID has come yet.
  static void MapLoaded(const FolderEntry& file, LoadJob& job, Snapshot& snapshot,
                        RecordIndex& index, ReloadReport& report, bool& otherNames);
  // Loads the scanned record files, from the snapshot where it still holds them.
  void LoadRecords(const RecordFolder& folder, const std::vector<FolderEntry>& records,
                   Snapshot& snapshot, RecordIndex& index, ReloadReport& report,
                   const Progress& progress);
  // Copies the index back from the map image of this folder: false, with an empty index, when
  // there is no usable image.
  bool ReadImage(const RecordFolder& folder, RecordIndex& records);
  // The identity in the image's header, without reading the rest.
  std::optional<FolderIdentity> ImageIdentity(const RecordFolder& folder) const;
  // Writes the image of the index, the map of the files of that identity, unless the image
  // already is; at once or behind the load, as the snapshot is.
  void KeepImage(const RecordFolder& folder, RecordIndex& records, const FolderIdentity& identity,
                 std::span<const SkippedFile> skipped);
  // Holds the snapshot file's bytes in `snapshot`; null when there is no usable snapshot.
  std::optional<SnapshotReader> OpenSnapshot(const RecordFolder& folder, Snapshot& snapshot) const;
  // Writes the snapshot a load put together, at once or behind it.
  void SaveSnapshot(const RecordFolder& folder, Snapshot&& snapshot);
  void TrimHeap();

  FileSystem& files_;
  std::string snapshotPath_;
  SnapshotWriting snapshotWriting_ = SnapshotWriting::kAtOnce;
  // The map image beside the snapshot, and the identity of the files it was made from when this
  // loader read or wrote it.
  std::string imagePath_;
  std::optional<FolderIdentity> imageIdentity_;
  std::optional<Unconfirmed> unconfirmed_;
  // Write the snapshot and the map image behind a load; after what they use, so that they are
  // joined before that goes.
  std::jthread snapshotWriter_;
  std::jthread imageWriter_;
  // Hands the pages a load freed back to the system while the window goes on; last, so that it
  // is joined before anything else goes.
  std::jthread trim_;
};

}  // namespace paylark

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/base/status.h"
#include "core/io/file_system.h"
#include "core/io/temporary_files.h"

namespace paylark {

inline constexpr std::string_view kRecordsFolderName = "Paylark Files";
inline constexpr std::string_view kMarkerFileName = "preferences.alm";
inline constexpr std::string_view kBalanceSuffix = ".bal";
// A balance entry's file, as a scan of the records folder finds it.
inline bool IsBalanceFileName(std::string_view name) {
  return name.ends_with(kBalanceSuffix);
}
// The claim of a series ID, so that two processes never start series with one ID. It is a
// temporary file without a writer: the folder check removes it once it is stale, long after the
// second it names has passed.
inline std::string SeriesClaimFileName(std::string_view seriesId) {
  return std::string(kTempFilePrefix) + "series-" + std::string(seriesId);
}
// No real record comes near this size; a larger file is not read.
inline constexpr std::size_t kMaxRecordFileBytes = std::size_t{16} << 20;

// <working directory>/Paylark Files.
inline std::string RecordsFolderPath(std::string_view workingDirectory) {
  return std::string(workingDirectory) + "/" + std::string(kRecordsFolderName);
}

enum class Durability { kSynced, kUnsynced };

// What a name in the records folder is to a reload.
enum class EntryKind { kRecord, kConflictCopy, kTooLarge, kStaleTemporary, kSwap, kOther };

// How much a scan learns of each record file: its name, or also its identity and size, which
// costs an inspection per file.
enum class ScanDepth { kNames, kIdentities };

// The records folder's names, sorted by kind; each list in byte order. Sync engines' temporary
// names are left out. A scan of names only finds no file too large: reading it does.
struct FolderScan {
  std::vector<FolderEntry> records;
  std::vector<std::string> conflictCopies;
  std::vector<std::string> tooLarge;
  std::vector<std::string> staleTemporaries;
  std::vector<std::string> swapFiles;  // of a swap of the record files (record_swap.h)
  // "*.bal": balance entries, which live beside the records and are found by the same listing.
  std::vector<std::string> balanceFiles;
};

// The file operations of the records folder, through a FileSystem. Files are replaced
// atomically: the bytes go to a temporary file ".paylark-<process ID>-<n>" that is then renamed
// over the target. A new file is created without replacing anything, at once even inside a
// batch, so its name is claimed the moment it is given. Outside a batch each write is flushed
// before its rename and the folder after it; inside a batch replacements wait for EndBatch, which
// flushes once, renames, and syncs the folder once.
class RecordFolder {
 public:
  RecordFolder(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
  RecordFolder(const RecordFolder&) = delete;
  RecordFolder& operator=(const RecordFolder&) = delete;
  ~RecordFolder();

  const std::string& path() const { return path_; }
  std::string PathOf(std::string_view fileName) const;
  void SetDurability(Durability durability) { durability_ = durability; }

  // Creates the folder itself (not its parents); an existing folder is no error.
  Status Create() const;
  bool Exists(std::string_view fileName) const;
  // The one place that decides what a folder entry is: record files end in ".due" (any letter
  // case) and are regular files of at most kMaxRecordFileBytes, sync engines' conflict copies
  // among them told apart and their temporary names left out; a temporary file is stale when
  // its writer no longer runs or it is older than kStaleTemporarySeconds.
  EntryKind Classify(const FolderEntry& entry) const;
  Result<FolderScan> Scan(ScanDepth depth = ScanDepth::kIdentities) const;
  Result<std::vector<std::string>> ListRecordFiles() const;
  // A file larger than kMaxRecordFileBytes is refused unread.
  Result<std::string> Read(std::string_view fileName) const;
  // For many reads: a name read through it costs no walk of the folder's path.
  std::unique_ptr<FolderReader> Reader() const { return files_.ReadFolder(path_); }
  // Leftovers of writers that are gone; another running writer's files stay.
  void RemoveStaleTemporaries(const FolderScan& scan) const;

  // Never replaces an existing file: that case is kAlreadyExists.
  Status CreateNew(std::string_view fileName, std::string_view bytes);
  // Creates or replaces; a file without any write permission is not replaced, and a replaced
  // file keeps its permission bits.
  Status Replace(std::string_view fileName, std::string_view bytes);
  // It is not an error if the file does not exist.
  Status Remove(std::string_view fileName);

  void BeginBatch();
  // Flushes, renames the waiting replacements (stopping at the first that fails) and syncs the
  // folder; gives the first failure.
  Status EndBatch();
  bool InBatch() const { return batchDepth_ > 0; }
  // Whether this batch replaces the file at its end: until then the disk holds what was there.
  bool Replaces(std::string_view fileName) const {
    return pendingNames_.contains(std::string(fileName));
  }

 private:
  struct PendingRename {
    std::string tempPath;
    std::string finalName;
  };

  Result<std::string> WriteTemporary(std::string_view bytes, int mode);
  Status Place(const std::string& tempPath, std::string_view fileName, Placement placement);
  Status SyncFolder() const;
  bool Synced() const { return durability_ == Durability::kSynced; }

  FileSystem& files_;
  std::string path_;
  Durability durability_ = Durability::kSynced;
  int batchDepth_ = 0;
  int temporaryCounter_ = 0;
  std::vector<PendingRename> pending_;
  std::unordered_set<std::string> pendingNames_;  // the final names of pending_
  std::vector<std::string> unflushed_;            // created in this batch, flushed at its end
  bool folderChanged_ = false;
};

}  // namespace paylark

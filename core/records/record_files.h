#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"

namespace paylark {

inline constexpr std::string_view kRecordsFolderName = "Paylark Files";
inline constexpr std::string_view kMarkerFileName = "preferences.alm";
inline constexpr std::string_view kTempFilePrefix = ".paylark-";

// <working directory>/Paylark Files.
inline std::string RecordsFolderPath(std::string_view workingDirectory) {
  return std::string(workingDirectory) + "/" + std::string(kRecordsFolderName);
}

enum class Durability { kSynced, kUnsynced };

// The file operations of the records folder. Files are replaced atomically: the bytes go to a
// temporary file (".paylark-…", never ending in ".due") that is then renamed over the target.
// Outside a batch each write is flushed before its rename and the folder after it; inside a
// batch the renames wait for EndBatch, which flushes once, renames, and syncs the folder once.
class RecordFolder {
 public:
  explicit RecordFolder(std::string path) : path_(std::move(path)) {}
  RecordFolder(const RecordFolder&) = delete;
  RecordFolder& operator=(const RecordFolder&) = delete;
  ~RecordFolder();

  const std::string& path() const { return path_; }
  std::string PathOf(std::string_view fileName) const;
  void SetDurability(Durability durability) { durability_ = durability; }

  // Creates the folder itself (not its parents); an existing folder is no error.
  Status Create() const;
  bool Exists(std::string_view fileName) const;
  // The names ending in ".due" (any letter case) of the regular files, in byte order.
  Result<std::vector<std::string>> ListRecordFiles() const;
  Result<std::string> Read(std::string_view fileName) const;
  // Leftovers of writes that were interrupted.
  void RemoveTemporaryFiles() const;

  // Never replaces an existing file: that case is kAlreadyExists.
  Status CreateNew(std::string_view fileName, std::string_view bytes);
  // Creates or replaces; a file without any write permission is not replaced, and a replaced
  // file keeps its permission bits.
  Status Replace(std::string_view fileName, std::string_view bytes);
  // It is not an error if the file does not exist.
  Status Remove(std::string_view fileName);

  void BeginBatch();
  Status EndBatch();
  bool InBatch() const { return batchDepth_ > 0; }

 private:
  struct PendingRename {
    std::string tempPath;
    std::string finalName;
    bool createNew;
  };

  enum class Placement { kCreateNew, kReplace };

  Result<std::string> WriteTemporary(std::string_view bytes, int mode) const;
  // Writes a temporary file and renames it into place now, or at the end of the batch.
  Status WriteAndRename(std::string_view fileName, std::string_view bytes, int mode,
                        Placement placement);
  Status Commit(const PendingRename& rename) const;
  void SyncFolder() const;
  bool Synced() const { return durability_ == Durability::kSynced; }

  std::string path_;
  Durability durability_ = Durability::kSynced;
  int batchDepth_ = 0;
  std::vector<PendingRename> pending_;
};

}  // namespace paylark

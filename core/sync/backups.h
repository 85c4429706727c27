#pragma once

#include <cstddef>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/clock.h"
#include "core/base/status.h"
#include "core/io/file_system.h"
#include "core/records/record_store.h"
#include "core/sync/backup_folder.h"
#include "core/sync/backup_zip.h"

namespace paylark {

inline constexpr int kDefaultBackupsKept = 30;
// No backup of a records folder comes near this size; a larger file is not read as one.
inline constexpr std::size_t kMaxBackupBytes = std::size_t{4} << 30;

struct BackupOptions {
  std::string output;  // the zip's path; empty for a new one in the backups folder
  std::stop_token stop;
};

// What a backup holds besides the readable records.
struct TakenBackup {
  std::string path;
  // Record files that do not decode, stored under "Unreadable/" in the zip.
  std::vector<SkippedFile> setAside;
  // Files that could not be read at all (no permission, not a regular file, too large).
  std::vector<SkippedFile> leftOut;
};

// Zips the record files, the balance files, the change marker and the attachments of the
// working directory's
// records folder (sync engines' temporary files left out; an attachment that cannot be read is
// left out and told) into "Paylark Files YYYY-MM-DD HHMMSS.zip" in the backups
// folder, or into `output`. Only regular files up to the record limit are read, never through a
// symbolic link; a file that ends while it is read fails the backup. Afterwards only the newest
// `keep` backups of the backups folder remain, and temporary files of backups whose writer is
// gone (or that are older than an hour) are removed. It touches no store, so it may run on a
// thread of its own; a stop request ends it early, leaving no file behind.
Result<TakenBackup> TakeBackup(FileSystem& files, const std::string& workingDirectory,
                               const Clock& clock, int keep, const BackupOptions& options = {});
// The same, giving the zip's path.
Result<std::string> CreateBackup(const RecordStore& store, const Clock& clock, int keep,
                                 const std::string& output = {});

// ReadBackupBytes of the zip file's bytes.
Result<std::vector<DueRecord>> ReadBackup(const std::string& zipPath, FileSystem& files);

// Why a restore did not start: the backup holds no dues and the store does.
inline constexpr std::string_view kEmptyBackupReason = "this backup holds no dues";

// Replaces the store's records and balance entries with the backup's, all or nothing: the backup
// is read completely first (a damaged one changes nothing), the current state is backed up, and
// the record and balance files are swapped together so that a kill or a failure at any point
// leaves the old set or the new set whole (RecordStore::ReplaceAllRecords). A balance entry the
// backup does not hold goes with the dues it does not hold (the backup taken first keeps both);
// a backup that holds no balance file at all leaves the balance files as they are. A
// backup without dues replaces a store that holds some only with allowEmpty; otherwise that is
// InvalidArgument, starting with kEmptyBackupReason. The store is reloaded afterwards. Then the
// Attachments folder is made the backup's: a file the backup does not hold goes to the backups
// folder's "Removed attachments", never deleted.
Status RestoreBackup(RecordStore& store, const Clock& clock, const std::string& zipPath, int keep,
                     bool allowEmpty = false);

}  // namespace paylark

#pragma once

#include <cstddef>
#include <stop_token>
#include <string>
#include <vector>

#include "core/base/clock.h"
#include "core/base/status.h"
#include "core/records/record_store.h"

namespace paylark {

inline constexpr int kDefaultBackupsKept = 30;

// Where the backups of a working directory go: $XDG_DATA_HOME/paylark/Backups/<folder name>-<8
// hex digits of a hash of its absolute path>. Local to the machine, never inside the synced
// folder, so a deletion that a sync engine spreads cannot reach them.
std::string BackupsFolder(const std::string& workingDirectory);

// The backups in a backups folder ("Paylark Files YYYY-MM-DD HHMMSS.zip"), newest first.
std::vector<std::string> ListBackups(const std::string& backupsFolder);

// Zips the record files and the change marker of the store's records folder (sync engines'
// temporary files left out) into "Paylark Files YYYY-MM-DD HHMMSS.zip" in the backups folder,
// or into `output` when it is not empty, and returns the zip's path. Afterwards only the newest
// `keep` backups of the backups folder remain.
Result<std::string> CreateBackup(const RecordStore& store, const Clock& clock, int keep,
                                 const std::string& output = {});
// The same for a working directory: it touches no store, so it may run on a thread of its own.
// A stop request ends it early, leaving no file behind.
Result<std::string> CreateBackup(const std::string& workingDirectory, const Clock& clock, int keep,
                                 const std::string& output = {}, std::stop_token stop = {});

// Whether the backups folder holds a backup taken on the clock's current day.
bool HasBackupOfToday(const std::string& backupsFolder, const Clock& clock);

// The records of a backup, by entry name. A zip that cannot be opened, or any record file in it
// that does not decode, is Corrupt.
Result<std::vector<DueRecord>> ReadBackup(const std::string& zipPath);

// Replaces the store's records with the backup's, all or nothing: the backup is read completely
// first (a damaged one changes nothing), the current state is backed up, and a write that fails
// midway puts the current state back. The store is reloaded afterwards.
Status RestoreBackup(RecordStore& store, const Clock& clock, const std::string& zipPath, int keep);

}  // namespace paylark

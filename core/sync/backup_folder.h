#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/clock.h"
#include "core/io/file_system.h"

namespace paylark {

inline constexpr std::string_view kBackupSuffix = ".zip";

// Where the backups of a working directory go: $XDG_DATA_HOME/paylark/Backups/<folder name>-<8
// hex digits of a hash of its absolute path>. Local to the machine, never inside the synced
// folder, so a deletion that a sync engine spreads cannot reach them.
std::string BackupsFolder(const std::string& workingDirectory);

// The backups in a backups folder ("Paylark Files YYYY-MM-DD HHMMSS.zip"), newest first.
std::vector<std::string> ListBackups(const std::string& backupsFolder, FileSystem& files);

// Whether the backups folder holds a backup taken on the clock's current day.
bool HasBackupOfToday(const std::string& backupsFolder, const Clock& clock, FileSystem& files);

// Whether a file name is a backup's: "Paylark Files " at its start, kBackupSuffix at its end.
bool IsBackupName(std::string_view name);

// The name of a backup taken now, without kBackupSuffix: "Paylark Files YYYY-MM-DD HHMMSS".
std::string BackupStem(const Clock& clock);

// The path made absolute against the current folder, without "." and ".." steps.
std::string AbsolutePath(const std::string& path);

}  // namespace paylark

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/ole_date_time.h"

namespace paylark {

// When, and on which device, a sync engine made a conflict copy, as far as its name says.
struct ConflictCopyOrigin {
  std::optional<OleDateTime> made;  // empty when the name carries no valid date
  bool hasTime = false;             // whether the name gives the time of day as well
  std::string device;               // empty when the name names none
};

// Reads a conflict copy's name (no folder): Syncthing's ".sync-conflict-<YYYYMMDD>-<HHMMSS>-
// <device>" (the last one where copies of copies nest), Nextcloud's "(conflicted copy
// <YYYY-MM-DD HHMMSS>)" and Dropbox's "(<device>'s conflicted copy <YYYY-MM-DD>)". Any other
// name gives an empty origin; that is not an error.
ConflictCopyOrigin OriginOfConflictCopy(std::string_view name);

// The time a backup was taken, from its name ("Paylark Files YYYY-MM-DD HHMMSS.zip", folder
// allowed); empty when the name is not a backup's.
std::optional<OleDateTime> BackupTakenAt(std::string_view path);

}  // namespace paylark

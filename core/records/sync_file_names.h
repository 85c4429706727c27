#pragma once

#include <string>
#include <string_view>

namespace paylark {

// What a name in the records folder is, as far as sync engines are concerned.
enum class SyncFileKind {
  kRecord,        // "<anything>.due": a record file
  kTemporary,     // a sync engine's file in transfer: never read
  kConflictCopy,  // a sync engine's second version of a record file
  kOther,         // the change marker and anything else that is not a record
};

struct SyncFileName {
  SyncFileKind kind = SyncFileKind::kOther;
  // For a record or a conflict copy: the record file's own name ("duedate<ID>.due").
  std::string recordFileName;
  // The record ID the name carries ("duedate<ID>.due"), or empty when it carries none.
  std::string recordId;
};

// Classifies a plain file name (no folder). Temporary names: ".syncthing.*.tmp",
// "~syncthing~*.tmp", "*.part" and anything starting with ".~". Conflict copies:
// "<name>.sync-conflict-<date>-<time>-<device>.due" (Syncthing),
// "<name> (conflicted copy <...>).due" (Nextcloud, ownCloud) and
// "<name> (<device>'s conflicted copy <date>).due" (Dropbox).
SyncFileName ClassifyFileName(std::string_view name);
// The kind alone, without building the names: for a pass over a whole folder.
SyncFileKind KindOfFileName(std::string_view name);
// Whether the name ends in ".due", in any case.
bool HasRecordSuffix(std::string_view name);

}  // namespace paylark

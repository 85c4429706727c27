#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"
#include "core/records/due_record.h"
#include "core/records/record_swap.h"

namespace paylark {

// The zip's folder for record files that do not decode: their bytes are kept, but a restore
// never reads them.
inline constexpr std::string_view kUnreadableFolderName = "Unreadable";

// A file kept with a due, as a backup holds it under "Paylark Files/Attachments/<ID>/<name>".
struct BackupAttachment {
  std::string recordId;
  std::string name;
  std::string bytes;
};

// The attachments of a backup. An entry larger than an attachment may be, or one that does not
// read back whole, is Corrupt; names that could not have been written by Paylark are ignored.
Result<std::vector<BackupAttachment>> ReadBackupAttachments(std::string_view zipBytes,
                                                            const std::string& zipName);

// The balance files of a backup, by name. One that does not decode is Corrupt.
Result<std::vector<NewRecordFile>> ReadBackupBalances(std::string_view zipBytes,
                                                      const std::string& zipName);

// The records of a backup (its attachments are no records, whatever their names). A zip that cannot
// be opened, an entry larger than a record file may be, or a record file outside the "Unreadable"
// folder that does not decode is Corrupt. Entries are read with a bounded buffer, whatever sizes
// their headers claim.
Result<std::vector<DueRecord>> ReadBackupBytes(std::string_view zipBytes,
                                               const std::string& zipName);

}  // namespace paylark

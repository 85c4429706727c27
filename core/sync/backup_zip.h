#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"
#include "core/io/file_system.h"
#include "core/records/due_record.h"
#include "core/records/record_swap.h"
#include "core/sync/zip_handles.h"

namespace paylark {

// The zip's folder for record files that do not decode: their bytes are kept, but a restore
// never reads them.
inline constexpr std::string_view kUnreadableFolderName = "Unreadable";

// A file kept with a due, as a backup holds it under "Paylark Files/Attachments/<ID>/<name>":
// its entry in the zip and the size the entry's header gives.
struct BackupAttachment {
  std::string recordId;
  std::string name;
  std::uint64_t index = 0;
  std::uint64_t size = 0;
};

// The backup's zip, opened for reading its entries one at a time; the bytes must outlive it.
Result<ZipPointer> OpenBackupZip(std::string_view zipBytes, const std::string& zipName);

// The attachments of a backup, none of them read. An entry larger than an attachment may be is
// Corrupt; names that could not have been written by Paylark are ignored.
Result<std::vector<BackupAttachment>> ListBackupAttachments(zip_t* archive,
                                                            const std::string& zipName);

// The sum of the sizes the entries' headers give: what the backup takes once unpacked.
std::uint64_t DeclaredSize(zip_t* archive);

// The attachment's bytes a piece at a time, for FileSystem::WriteFrom: Corrupt when the entry
// holds more or less than its header says, or its checksum does not match.
ChunkSource AttachmentSource(zip_t* archive, const BackupAttachment& attachment);

// Whether the attachment's bytes are exactly `bytes`, read a piece at a time.
Result<bool> AttachmentEquals(zip_t* archive, const BackupAttachment& attachment,
                              std::string_view bytes);

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

#include "core/sync/backup_zip.h"

#include <zip.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <span>

#include "core/attachments/attachment_names.h"
#include "core/attachments/attachment_store.h"
#include "core/forecast/balance_file.h"
#include "core/records/record_codec.h"
#include "core/records/record_files.h"
#include "core/records/sync_file_names.h"
#include "core/sync/zip_handles.h"

namespace paylark {
namespace {

struct EntryLimit {
  std::uint64_t bytes;
  const char* tooLarge;
};
constexpr EntryLimit kRecordLimit{kMaxRecordFileBytes, "it is larger than a record file may be"};
constexpr EntryLimit kAttachmentLimit{kMaxAttachmentBytes,
                                      "it is larger than an attachment may be"};

// One entry's bytes, never more than the limit whatever the header claims.
Result<std::string> ReadEntry(zip_t* archive, zip_uint64_t index,
                              const EntryLimit& limit = kRecordLimit) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
    return Status::Corrupt("its size is unknown");
  if (stat.size > limit.bytes)
    return Status::Corrupt(limit.tooLarge);
  ZipFilePointer file(zip_fopen_index(archive, index, 0));
  if (!file)
    return Status::Corrupt(zip_error_strerror(zip_get_error(archive)));
  std::string bytes;
  char buffer[kZipReadChunk];
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
    if (got < 0)
      return Status::Corrupt(zip_error_strerror(zip_file_get_error(file.get())));
    if (got == 0)
      break;
    bytes.append(buffer, static_cast<std::size_t>(got));
    if (bytes.size() > stat.size)
      return Status::Corrupt("it holds more than its header says");
  }
  if (bytes.size() != stat.size)
    return Status::Corrupt("it holds less than its header says");
  return bytes;
}

Status Damaged(const std::string& zipName, const std::string& entryName, const Status& why) {
  return Status::Corrupt("\"" + zipName + "\" is damaged: " + entryName + ": " + why.message());
}

std::string AttachmentsPrefix() {
  return std::string(kRecordsFolderName) + "/" + std::string(kAttachmentsFolderName) + "/";
}

Result<ZipPointer> OpenArchive(std::string_view zipBytes, const std::string& zipName) {
  zip_error_t error;
  zip_error_init(&error);
  SourcePointer source(zip_source_buffer_create(zipBytes.data(), zipBytes.size(), 0, &error));
  ZipPointer archive(source ? zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, &error)
                            : nullptr);
  if (!archive) {
    Status status = Status::Corrupt("\"" + zipName +
                                    "\" is not a readable backup: " + zip_error_strerror(&error));
    zip_error_fini(&error);
    return status;
  }
  (void)source.release();  // the archive owns it now
  return archive;
}

}  // namespace

Result<ZipPointer> OpenBackupZip(std::string_view zipBytes, const std::string& zipName) {
  return OpenArchive(zipBytes, zipName);
}

Result<std::vector<BackupAttachment>> ListBackupAttachments(zip_t* archive,
                                                            const std::string& zipName) {
  std::vector<BackupAttachment> attachments;
  const std::string prefix = AttachmentsPrefix();
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* entryName = zip_get_name(archive, index, 0);
    if (!entryName || !std::string_view(entryName).starts_with(prefix))
      continue;
    const std::string path = std::string(entryName).substr(prefix.size());
    const std::size_t slash = path.find('/');
    if (slash == std::string::npos || slash == 0 || path.find('/', slash + 1) != std::string::npos)
      continue;
    BackupAttachment attachment{path.substr(0, slash), path.substr(slash + 1), index, 0};
    const Result<std::string> safe = SafeAttachmentName(attachment.name);
    if (!safe.ok() || safe.value() != attachment.name || attachment.recordId.starts_with('.'))
      continue;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
      return Damaged(zipName, entryName, Status::Corrupt("its size is unknown"));
    if (stat.size > kMaxAttachmentBytes)
      return Damaged(zipName, entryName, Status::Corrupt(kAttachmentLimit.tooLarge));
    attachment.size = stat.size;
    attachments.push_back(std::move(attachment));
  }
  return attachments;
}

std::uint64_t DeclaredSize(zip_t* archive) {
  std::uint64_t total = 0;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE))
      continue;
    const std::uint64_t room = std::numeric_limits<std::uint64_t>::max() - total;
    total += std::min<std::uint64_t>(stat.size, room);
  }
  return total;
}

ChunkSource AttachmentSource(zip_t* archive, const BackupAttachment& attachment) {
  auto file = std::make_shared<ZipFilePointer>(zip_fopen_index(archive, attachment.index, 0));
  auto total = std::make_shared<std::uint64_t>(0);
  return [archive, file, total,
          size = attachment.size](std::span<char> buffer) -> Result<std::size_t> {
    if (!*file)
      return Status::Corrupt(zip_error_strerror(zip_get_error(archive)));
    const zip_int64_t got = zip_fread(file->get(), buffer.data(), buffer.size());
    if (got < 0)
      return Status::Corrupt(zip_error_strerror(zip_file_get_error(file->get())));
    *total += static_cast<std::uint64_t>(got);
    if (*total > size)
      return Status::Corrupt("it holds more than its header says");
    if (got == 0 && *total != size)
      return Status::Corrupt("it holds less than its header says");
    return static_cast<std::size_t>(got);
  };
}

Result<bool> AttachmentEquals(zip_t* archive, const BackupAttachment& attachment,
                              std::string_view bytes) {
  if (attachment.size != bytes.size())
    return false;
  const ChunkSource source = AttachmentSource(archive, attachment);
  char buffer[kZipReadChunk];
  for (;;) {
    PAYLARK_TRY_ASSIGN(const std::size_t got, source(buffer));
    if (got == 0)
      return true;
    if (bytes.substr(0, got) != std::string_view(buffer, got))
      return false;
    bytes.remove_prefix(got);
  }
}

Result<std::vector<NewRecordFile>> ReadBackupBalances(std::string_view zipBytes,
                                                      const std::string& zipName) {
  PAYLARK_TRY_ASSIGN(const ZipPointer archive, OpenArchive(zipBytes, zipName));
  std::vector<NewRecordFile> balances;
  const std::string folder = std::string(kRecordsFolderName) + "/";
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* entryName = zip_get_name(archive.get(), index, 0);
    const std::string_view path = entryName ? entryName : "";
    const std::string name = BaseName(path);
    const std::optional<std::string> id = BalanceEntryIdOf(name);
    if (!id || path != folder + name)
      continue;
    Result<std::string> bytes = ReadEntry(archive.get(), index);
    const Status decoded = bytes.ok() ? DecodeBalance(*id, bytes.value()).status() : bytes.status();
    if (!decoded.ok())
      return Damaged(zipName, name, decoded);
    balances.push_back({name, std::move(bytes).value()});
  }
  return balances;
}

Result<std::vector<DueRecord>> ReadBackupBytes(std::string_view zipBytes,
                                               const std::string& zipName) {
  PAYLARK_TRY_ASSIGN(const ZipPointer archive, OpenArchive(zipBytes, zipName));
  std::vector<DueRecord> records;
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  const std::string unreadable = std::string(kUnreadableFolderName) + "/";
  const std::string attachments = AttachmentsPrefix();
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* entryName = zip_get_name(archive.get(), index, 0);
    if (!entryName || std::string_view(entryName).starts_with(unreadable) ||
        std::string_view(entryName).starts_with(attachments))
      continue;
    const std::string name = BaseName(entryName);
    const SyncFileKind kind = ClassifyFileName(name).kind;
    if (kind != SyncFileKind::kRecord && kind != SyncFileKind::kConflictCopy)
      continue;
    Result<std::string> bytes = ReadEntry(archive.get(), index);
    Result<DueRecord> record =
        bytes.ok() ? DecodeRecord(bytes.value()) : Result<DueRecord>(bytes.status());
    if (!record.ok())
      return Damaged(zipName, name, record.status());
    if (kind == SyncFileKind::kRecord)
      records.push_back(std::move(record).value());
  }
  return records;
}

}  // namespace paylark

#include "core/sync/backup_zip.h"

#include <zip.h>

#include <memory>

#include "core/records/record_codec.h"
#include "core/records/record_files.h"
#include "core/records/sync_file_names.h"
#include "core/sync/zip_handles.h"

namespace paylark {
namespace {

std::string BaseName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// One entry's bytes, never more than a record file may hold whatever the header claims.
Result<std::string> ReadEntry(zip_t* archive, zip_uint64_t index) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
    return Status::Corrupt("its size is unknown");
  if (stat.size > kMaxRecordFileBytes)
    return Status::Corrupt("it is larger than a record file may be");
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

}  // namespace

Result<std::vector<DueRecord>> ReadBackupBytes(std::string_view zipBytes,
                                               const std::string& zipName) {
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
  std::vector<DueRecord> records;
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  const std::string unreadable = std::string(kUnreadableFolderName) + "/";
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* entryName = zip_get_name(archive.get(), index, 0);
    if (!entryName || std::string_view(entryName).starts_with(unreadable))
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

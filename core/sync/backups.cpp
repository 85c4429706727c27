#include "core/sync/backups.h"

#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>
#include <unordered_set>

#include "core/records/record_codec.h"
#include "core/records/record_files.h"
#include "core/records/sync_file_names.h"

namespace fs = std::filesystem;

namespace paylark {
namespace {

constexpr std::string_view kBackupPrefix = "Paylark Files ";
constexpr std::string_view kBackupSuffix = ".zip";

struct ZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipPointer = std::unique_ptr<zip_t, ZipCloser>;

std::uint32_t PathHash(std::string_view text) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

std::string DayText(const CivilDateTime& c) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
  return text;
}

std::string BackupStem(const Clock& clock) {
  const CivilDateTime c = clock.Now().ToCivil();
  char time[8];
  std::snprintf(time, sizeof time, "%02d%02d%02d", c.hour, c.minute, c.second);
  return std::string(kBackupPrefix) + DayText(c) + " " + time;
}

std::string StemOf(const std::string& name) {
  return name.substr(0, name.size() - kBackupSuffix.size());
}

bool IsBackupName(std::string_view name) {
  return name.starts_with(kBackupPrefix) && name.ends_with(kBackupSuffix);
}

Result<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return Status::IoError("\"" + path.string() + "\" cannot be read");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

Status ZipFailure(const std::string& path, zip_error_t* error) {
  return Status::IoError("\"" + path + "\" could not be written: " + zip_error_strerror(error));
}

Status Stopped() {
  return Status::IoError("the backup was stopped");
}

// The files a backup holds: record files, conflict copies and the change marker, by name.

Result<std::vector<std::pair<std::string, std::string>>> FolderContents(
    const fs::path& folder, const std::stop_token& stop) {
  std::vector<std::pair<std::string, std::string>> files;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    if (stop.stop_requested())
      return Stopped();
    const std::string name = entry->path().filename().string();
    const SyncFileKind kind = ClassifyFileName(name).kind;
    const bool wanted = kind == SyncFileKind::kRecord || kind == SyncFileKind::kConflictCopy ||
                        name == kMarkerFileName;
    if (!wanted || !entry->is_regular_file())
      continue;
    Result<std::string> bytes = ReadFile(entry->path());
    if (!bytes.ok())
      return bytes.status();
    files.emplace_back(name, std::move(bytes).value());
  }
  if (error && error != std::errc::no_such_file_or_directory)
    return Status::IoError("the records folder cannot be read: " + error.message());
  std::sort(files.begin(), files.end());
  return files;
}

// libzip compresses while it closes the archive, and asks between entries whether to go on; a
// stopped close removes its temporary file.
Status WriteZip(const std::string& path,
                const std::vector<std::pair<std::string, std::string>>& files,
                const CivilDateTime& taken, std::stop_token& stop) {
  int code = 0;
  ZipPointer archive(zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
  if (!archive) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    Status status = ZipFailure(path, &error);
    zip_error_fini(&error);
    return status;
  }
  zip_register_cancel_callback_with_state(
      archive.get(),
      [](zip_t*, void* token) {
        return static_cast<std::stop_token*>(token)->stop_requested() ? 1 : 0;
      },
      nullptr, &stop);
  // The folder entry also keeps a backup of an empty folder from being an empty (unwritten) zip.
  if (zip_dir_add(archive.get(), std::string(kRecordsFolderName).c_str(), ZIP_FL_ENC_UTF_8) < 0)
    return ZipFailure(path, zip_get_error(archive.get()));
  const auto dosTime =
      static_cast<zip_uint16_t>((taken.hour << 11) | (taken.minute << 5) | (taken.second / 2));
  const auto dosDate = static_cast<zip_uint16_t>(((std::max(taken.year, 1980) - 1980) << 9) |
                                                 (taken.month << 5) | taken.day);
  for (const auto& [name, bytes] : files) {
    zip_source_t* source = zip_source_buffer(archive.get(), bytes.data(), bytes.size(), 0);
    const std::string entryName = std::string(kRecordsFolderName) + "/" + name;
    const zip_int64_t index =
        source ? zip_file_add(archive.get(), entryName.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      zip_source_free(source);
      return ZipFailure(path, zip_get_error(archive.get()));
    }
    zip_file_set_dostime(archive.get(), static_cast<zip_uint64_t>(index), dosTime, dosDate, 0);
  }
  if (zip_close(archive.get()) != 0)
    return stop.stop_requested() ? Stopped() : ZipFailure(path, zip_get_error(archive.get()));
  (void)archive.release();
  return Status::Ok();
}

void KeepNewest(const std::string& backupsFolder, int keep) {
  const std::vector<std::string> backups = ListBackups(backupsFolder);
  for (std::size_t i = static_cast<std::size_t>(std::max(keep, 1)); i < backups.size(); ++i) {
    std::error_code error;
    fs::remove(backups[i], error);
  }
}

// Makes the store hold exactly these records; renames wait for the end of the batch.
Status ApplyRecords(RecordStore& store, const std::vector<DueRecord>& records) {
  StoreBatch batch(store);
  std::unordered_set<std::string> wanted;
  for (const DueRecord& record : records) {
    wanted.insert(record.recordId);
    if (store.Contains(record.recordId) && store.Get(record.recordId) == record)
      continue;
    Status status = store.Replace(record);
    if (!status.ok())
      return status;
  }
  std::vector<std::string> unwanted;
  store.map().ForEach([&](const DueRecord& record) {
    if (!wanted.contains(record.recordId))
      unwanted.push_back(record.recordId);
  });
  for (const std::string& id : unwanted) {
    Status status = store.Delete(id, ChangeMarker::kWrite);
    if (!status.ok())
      return status;
  }
  return batch.Finish();
}

}  // namespace

std::string BackupsFolder(const std::string& workingDirectory) {
  std::error_code error;
  fs::path absolute = fs::absolute(workingDirectory, error).lexically_normal();
  std::string text = absolute.string();
  while (text.size() > 1 && text.back() == '/')
    text.pop_back();
  const std::string name = fs::path(text).filename().string();
  char hash[16];
  std::snprintf(hash, sizeof hash, "%08x", PathHash(text));

  fs::path data;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && *dataHome == '/') {
    data = dataHome;
  } else {
    const char* home = std::getenv("HOME");
    data = fs::path(home ? home : "/tmp") / ".local" / "share";
  }
  return (data / "paylark" / "Backups" / (name + "-" + hash)).string();
}

std::vector<std::string> ListBackups(const std::string& backupsFolder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(backupsFolder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (IsBackupName(name) && entry->is_regular_file())
      names.push_back(name);
  }
  // "… 101010" before "… 101010 (2)" before "… 101011": compare without the extension.
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return StemOf(a) > StemOf(b); });
  for (std::string& name : names)
    name = (fs::path(backupsFolder) / name).string();
  return names;
}

Result<std::string> CreateBackup(const RecordStore& store, const Clock& clock, int keep,
                                 const std::string& output) {
  return CreateBackup(store.workingDirectory(), clock, keep, output);
}

Result<std::string> CreateBackup(const std::string& workingDirectory, const Clock& clock, int keep,
                                 const std::string& output, std::stop_token stop) {
  if (workingDirectory.empty())
    return Status::IoError("no working directory is set");
  auto files = FolderContents(RecordsFolderPath(workingDirectory), stop);
  if (!files.ok())
    return files.status();

  std::string path = output;
  const std::string folder = BackupsFolder(workingDirectory);
  if (path.empty()) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
      return Status::IoError("the backups folder \"" + folder +
                             "\" could not be created: " + error.message());
    }
    const std::string stem = (fs::path(folder) / BackupStem(clock)).string();
    path = stem + std::string(kBackupSuffix);
    for (int n = 2; fs::exists(path); ++n)
      path = stem + " (" + std::to_string(n) + ")" + std::string(kBackupSuffix);
  }
  Status status = WriteZip(path, files.value(), clock.Now().ToCivil(), stop);
  if (!status.ok())
    return status;
  if (output.empty())
    KeepNewest(folder, keep);
  return path;
}

bool HasBackupOfToday(const std::string& backupsFolder, const Clock& clock) {
  const std::string today = std::string(kBackupPrefix) + DayText(clock.Now().ToCivil()) + " ";
  const std::vector<std::string> backups = ListBackups(backupsFolder);
  return std::any_of(backups.begin(), backups.end(), [&](const std::string& path) {
    return fs::path(path).filename().string().starts_with(today);
  });
}

Result<std::vector<DueRecord>> ReadBackup(const std::string& zipPath) {
  int code = 0;
  ZipPointer archive(zip_open(zipPath.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
  if (!archive) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    Status status = Status::Corrupt("\"" + zipPath +
                                    "\" is not a readable backup: " + zip_error_strerror(&error));
    zip_error_fini(&error);
    return status;
  }
  std::vector<DueRecord> records;
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const std::string entryName = zip_get_name(archive.get(), index, 0);
    const std::string name = fs::path(entryName).filename().string();
    const SyncFileKind kind = ClassifyFileName(name).kind;
    if (kind != SyncFileKind::kRecord && kind != SyncFileKind::kConflictCopy)
      continue;
    zip_stat_t stat;
    zip_file_t* file = zip_stat_index(archive.get(), index, 0, &stat) == 0
                           ? zip_fopen_index(archive.get(), index, 0)
                           : nullptr;
    std::string bytes(file ? stat.size : 0, '\0');
    const bool read = file && zip_fread(file, bytes.data(), bytes.size()) ==
                                  static_cast<zip_int64_t>(bytes.size());
    const bool closed = file && zip_fclose(file) == 0;
    Result<DueRecord> record =
        read && closed ? DecodeRecord(bytes) : Result<DueRecord>(Status::Corrupt("damaged"));
    if (!record.ok()) {
      std::string reason = "\"" + zipPath;
      reason += "\" is damaged: ";
      reason += name;
      reason += ": ";
      reason += record.status().message();
      return Status::Corrupt(reason);
    }
    if (kind == SyncFileKind::kRecord)
      records.push_back(std::move(record).value());
  }
  return records;
}

Status RestoreBackup(RecordStore& store, const Clock& clock, const std::string& zipPath, int keep) {
  Result<std::vector<DueRecord>> wanted = ReadBackup(zipPath);
  if (!wanted.ok())
    return wanted.status();
  (void)store.Reload();
  Result<std::string> safety = CreateBackup(store, clock, keep);
  if (!safety.ok())
    return safety.status();
  Result<std::vector<DueRecord>> current = ReadBackup(safety.value());
  Status status = ApplyRecords(store, wanted.value());
  if (!status.ok() && current.ok()) {
    (void)store.Reload();
    (void)ApplyRecords(store, current.value());
  }
  (void)store.Reload();
  return status;
}

}  // namespace paylark

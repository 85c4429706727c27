#include "core/sync/backups.h"

#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "core/attachments/attachment_store.h"
#include "core/forecast/balance_file.h"
#include "core/records/record_codec.h"
#include "core/records/record_files.h"
#include "core/records/sync_file_names.h"
#include "core/sync/zip_handles.h"

namespace paylark {
namespace {

// A file to zip: its entry name and bytes. An attachment's are mapped from its file, which is only
// ever replaced by a rename: a backup of large attachments never holds a copy of them.
using ZipEntry = std::pair<std::string, FileBytes>;

Status ZipFailure(const std::string& path, zip_error_t* error) {
  return Status::IoError("\"" + path + "\" could not be written: " + zip_error_strerror(error));
}

Status Stopped() {
  return Status::IoError("the backup was stopped");
}

struct FolderFiles {
  std::vector<ZipEntry> entries;  // by entry name
  std::vector<SkippedFile> setAside;
  std::vector<SkippedFile> leftOut;
};

// Whether a read's failure leaves just that file out: one the user may not read, or that is no
// record file at all (a FIFO, a device, a link, a file too large). Anything else, such as a file
// that ends while it is read, fails the backup.
bool LeavesFileOut(const Status& status) {
  return status.code() == StatusCode::kInvalidArgument || IsPermissionDenied(status);
}

// Adds the files of Attachments/<ID>/ under "Paylark Files/Attachments/<ID>/<name>". A due's
// folder or a file that cannot be read is left out and told, and so is a foreign file (a link is
// never followed); temporary files are never taken.
Status AddAttachments(FileSystem& files, const std::string& workingDirectory, FolderFiles& contents,
                      const std::stop_token& stop) {
  const AttachmentStore attachments(files, workingDirectory);
  const std::string shown(kAttachmentsFolderName);
  Result<std::set<std::string>> ids = attachments.RecordsWithAttachments();
  if (!ids.ok()) {
    contents.leftOut.push_back({shown, ids.status().message()});
    return Status::Ok();
  }
  for (const std::string& id : ids.value()) {
    std::string folder = shown;
    folder.append("/").append(id);
    Result<AttachmentListing> listed = attachments.Listing(id);
    if (!listed.ok()) {
      contents.leftOut.push_back({folder, listed.status().message()});
      continue;
    }
    for (const std::string& name : listed.value().foreign)
      contents.leftOut.push_back(
          {std::string(folder).append("/").append(name), "it is not a regular file"});
    for (const Attachment& attachment : listed.value().attachments) {
      if (stop.stop_requested())
        return Stopped();
      const std::string name = folder + "/" + attachment.name;
      Result<FileBytes> bytes = attachments.ReadLarge(id, attachment.name);
      if (!bytes.ok() && bytes.status().code() == StatusCode::kNotFound)
        continue;
      if (!bytes.ok()) {
        contents.leftOut.push_back({name, bytes.status().message()});
        continue;
      }
      contents.entries.emplace_back(std::string(kRecordsFolderName) + "/" + name,
                                    std::move(bytes).value());
    }
  }
  return Status::Ok();
}

// The files a backup holds: record files, conflict copies, balance files, the change marker and
// the attachments, by name.
Result<FolderFiles> FolderContents(FileSystem& files, const std::string& workingDirectory,
                                   const std::stop_token& stop) {
  const std::string folder = RecordsFolderPath(workingDirectory);
  FolderFiles contents;
  Result<std::vector<FolderEntry>> listed = files.List(folder);
  if (!listed.ok() && listed.status().code() == StatusCode::kNotFound)
    return contents;
  if (!listed.ok())
    return Status::IoError("the records folder cannot be read: " + listed.status().message());
  const std::unique_ptr<FolderReader> reader = files.ReadFolder(folder);
  for (const FolderEntry& entry : listed.value()) {
    if (stop.stop_requested())
      return Stopped();
    const std::string& name = entry.name;
    const SyncFileKind kind = ClassifyFileName(name).kind;
    const bool record = kind == SyncFileKind::kRecord || kind == SyncFileKind::kConflictCopy;
    const std::optional<std::string> balance = BalanceEntryIdOf(name);
    if (!record && !balance && name != kMarkerFileName)
      continue;
    if (entry.info.kind == FileKind::kFolder)
      continue;
    FileInfo info;
    Result<std::string> bytes = reader->Read(name, kMaxRecordFileBytes, info);
    if (!bytes.ok() && bytes.status().code() == StatusCode::kNotFound)
      continue;  // removed since the listing
    if (!bytes.ok() && LeavesFileOut(bytes.status())) {
      contents.leftOut.push_back({name, bytes.status().message()});
      continue;
    }
    if (!bytes.ok())
      return Status::IoError("\"" + name + "\" could not be read: " + bytes.status().message());
    const Status decoded = record    ? DecodeRecord(bytes.value()).status()
                           : balance ? DecodeBalance(*balance, bytes.value()).status()
                                     : Status::Ok();
    if (!decoded.ok()) {
      contents.setAside.push_back({name, decoded.message()});
      contents.entries.emplace_back(std::string(kUnreadableFolderName) + "/" + name,
                                    FileBytes::Held(std::move(bytes).value()));
      continue;
    }
    contents.entries.emplace_back(std::string(kRecordsFolderName) + "/" + name,
                                  FileBytes::Held(std::move(bytes).value()));
  }
  PAYLARK_TRY(AddAttachments(files, workingDirectory, contents, stop));
  std::sort(contents.entries.begin(), contents.entries.end(),
            [](const ZipEntry& a, const ZipEntry& b) { return a.first < b.first; });
  return contents;
}

// The whole archive that the source holds once written.
Result<std::string> SourceBytes(zip_source_t* source) {
  if (zip_source_open(source) < 0)
    return Status::IoError(zip_error_strerror(zip_source_error(source)));
  std::string bytes;
  char buffer[kZipReadChunk];
  zip_int64_t got = 0;
  while ((got = zip_source_read(source, buffer, sizeof buffer)) > 0)
    bytes.append(buffer, static_cast<std::size_t>(got));
  zip_source_close(source);
  if (got < 0)
    return Status::IoError(zip_error_strerror(zip_source_error(source)));
  return bytes;
}

// The zip, made in memory: libzip compresses while it closes the archive, and asks between
// entries whether to go on.
Result<std::string> ZipBytes(const std::string& path, const std::vector<ZipEntry>& entries,
                             const CivilDateTime& taken, std::stop_token stop) {
  zip_error_t error;
  zip_error_init(&error);
  SourcePointer source(zip_source_buffer_create(nullptr, 0, 0, &error));
  if (!source) {
    Status status = ZipFailure(path, &error);
    zip_error_fini(&error);
    return status;
  }
  ZipPointer archive(zip_open_from_source(source.get(), ZIP_TRUNCATE, &error));
  if (!archive) {
    Status status = ZipFailure(path, &error);
    zip_error_fini(&error);
    return status;
  }
  zip_source_keep(source.get());  // the archive's close frees it once; the bytes are read after
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
  for (const auto& [entryName, bytes] : entries) {
    zip_source_t* file =
        zip_source_buffer(archive.get(), bytes.view().data(), bytes.view().size(), 0);
    const zip_int64_t index =
        file ? zip_file_add(archive.get(), entryName.c_str(), file, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      zip_source_free(file);
      return ZipFailure(path, zip_get_error(archive.get()));
    }
    zip_file_set_dostime(archive.get(), static_cast<zip_uint64_t>(index), dosTime, dosDate, 0);
  }
  if (zip_close(archive.get()) != 0)
    return stop.stop_requested() ? Stopped() : ZipFailure(path, zip_get_error(archive.get()));
  (void)archive.release();
  return SourceBytes(source.get());
}

// A backup's temporary file: ".paylark-<process ID>-<n>.zip", so that only a writer that is gone
// leaves it for others to remove. libzip's own ("<backup>.zip.XXXXXX", from earlier versions)
// carry no writer: they go once an hour old.
bool IsStaleBackupTemporary(FileSystem& files, const FolderEntry& entry) {
  const std::string_view name = entry.name;
  const bool libzips = IsBackupName(name.substr(0, name.size() > 7 ? name.size() - 7 : 0)) &&
                       name[name.size() - 7] == '.';
  const bool ours = name.starts_with(kTempFilePrefix) && name.ends_with(kBackupSuffix);
  if (!libzips && !ours)
    return false;
  return IsStaleTemporary(files, ours ? WriterOf(name) : 0, entry.info.ageSeconds);
}

void RemoveStaleTemporaries(FileSystem& files, const std::string& folder) {
  Result<std::vector<FolderEntry>> entries = files.List(folder);
  if (!entries.ok())
    return;
  for (const FolderEntry& entry : entries.value()) {
    if (entry.info.kind == FileKind::kRegular && IsStaleBackupTemporary(files, entry))
      (void)files.Remove(folder + "/" + entry.name);
  }
}

// Writes the zip's bytes to a temporary file of the folder, flushes it and renames it to the
// first free name of the stem (or over `target` when one is given).
Result<std::string> PlaceZip(FileSystem& files, const std::string& folder, const std::string& stem,
                             const std::string& target, std::string_view bytes) {
  std::string temporary;
  for (int n = 1;; ++n) {
    temporary = folder + "/" + std::string(kTempFilePrefix) + std::to_string(files.ProcessId()) +
                "-" + std::to_string(n) + std::string(kBackupSuffix);
    Status status = files.Write(temporary, bytes, 0600);
    if (status.code() == StatusCode::kAlreadyExists)
      continue;
    if (!status.ok())
      return Status::IoError("\"" + folder + "\" could not be written: " + status.message());
    break;
  }
  auto fail = [&](const Status& status) -> Result<std::string> {
    (void)files.Remove(temporary);
    return Status::IoError("the backup could not be written: " + status.message());
  };
  if (Status status = files.SyncData({temporary}); !status.ok())
    return fail(status);
  if (!target.empty()) {
    Status status = files.Rename(temporary, target, Placement::kReplace);
    return status.ok() ? Result<std::string>(target) : fail(status);
  }
  for (int n = 1;; ++n) {
    const std::string path =
        stem + (n == 1 ? "" : " (" + std::to_string(n) + ")") + std::string(kBackupSuffix);
    if (files.Inspect(path).ok())
      continue;  // taken: the rename would refuse it too
    Status status = files.Rename(temporary, path, Placement::kCreateNew);
    if (status.code() == StatusCode::kAlreadyExists)
      continue;
    if (!status.ok())
      return fail(status);
    (void)files.SyncFolder(folder);
    return path;
  }
}

void KeepNewest(FileSystem& files, const std::string& backupsFolder, int keep) {
  const std::vector<std::string> backups = ListBackups(backupsFolder, files);
  for (std::size_t i = static_cast<std::size_t>(std::max(keep, 1)); i < backups.size(); ++i)
    (void)files.Remove(backups[i]);
}

}  // namespace

Result<TakenBackup> TakeBackup(FileSystem& files, const std::string& workingDirectory,
                               const Clock& clock, int keep, const BackupOptions& options) {
  if (workingDirectory.empty())
    return Status::IoError("no working directory is set");
  PAYLARK_TRY_ASSIGN(FolderFiles contents, FolderContents(files, workingDirectory, options.stop));
  const std::string backups = BackupsFolder(workingDirectory);
  const std::string target = options.output;
  const std::string folder = target.empty() ? backups : ParentFolder(AbsolutePath(target));
  if (target.empty()) {
    if (Status status = CreateFolders(files, backups); !status.ok()) {
      return Status::IoError("the backups folder \"" + backups +
                             "\" could not be created: " + status.message());
    }
    RemoveStaleTemporaries(files, backups);
  }
  const std::string stem = backups + "/" + BackupStem(clock);
  PAYLARK_TRY_ASSIGN(const std::string bytes,
                     ZipBytes(target.empty() ? stem + std::string(kBackupSuffix) : target,
                              contents.entries, clock.Now().ToCivil(), options.stop));
  if (options.stop.stop_requested())
    return Stopped();
  PAYLARK_TRY_ASSIGN(std::string path, PlaceZip(files, folder, stem,
                                                target.empty() ? "" : AbsolutePath(target), bytes));
  if (target.empty())
    KeepNewest(files, backups, keep);
  return TakenBackup{std::move(path), std::move(contents.setAside), std::move(contents.leftOut)};
}

Result<std::string> CreateBackup(const RecordStore& store, const Clock& clock, int keep,
                                 const std::string& output) {
  Result<TakenBackup> taken =
      TakeBackup(store.files(), store.workingDirectory(), clock, keep, {output, {}});
  return taken.ok() ? Result<std::string>(taken.value().path) : taken.status();
}

namespace {

// No backup of a records folder comes near this once unpacked; a larger one is refused unread.
constexpr std::uint64_t kMaxRestoredBytes = std::uint64_t{16} << 30;

Result<FileBytes> ReadZip(const std::string& zipPath, FileSystem& files) {
  Result<FileBytes> bytes = files.ReadLarge(zipPath, kMaxBackupBytes);
  if (!bytes.ok()) {
    return Status::Corrupt("\"" + zipPath +
                           "\" is not a readable backup: " + bytes.status().message());
  }
  return bytes;
}

std::string SizeText(std::uint64_t bytes) {
  char text[32];
  if (bytes >= std::uint64_t{1} << 30)
    std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / double(1 << 30));
  else if (bytes >= std::uint64_t{1} << 20)
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / double(1 << 20));
  else
    std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  return text;
}

// Refuses a backup that would not fit once unpacked: larger than the room left on the records
// folder's disk, or than any backup of a records folder.
Status CheckRoom(FileSystem& files, const std::string& workingDirectory, zip_t* archive,
                 const std::string& zipPath) {
  const std::uint64_t declared = DeclaredSize(archive);
  const std::string holds = "\"" + zipPath + "\" unpacks to " + SizeText(declared);
  if (declared > kMaxRestoredBytes)
    return Status::InvalidArgument(holds +
                                   ", more than a backup may hold (16.0 GiB); nothing was "
                                   "restored");
  const std::string records = RecordsFolderPath(workingDirectory);
  const std::string folder = files.Inspect(records).ok() ? records : workingDirectory;
  Result<std::uint64_t> room = files.FreeBytes(folder);
  if (room.ok() && declared > room.value()) {
    return Status::InvalidArgument(holds + ", more than the " + SizeText(room.value()) +
                                   " free on the disk of \"" + folder + "\"; nothing was restored");
  }
  return Status::Ok();
}

// What a restore does to the Attachments folder: the backup's files staged in the records
// folder, the current files that go set aside, all made by the swap of the records.
struct AttachmentPlan {
  SwapMoves moves;
  // A foreign file or a due's folder that cannot be listed, left as it is: told after the swap.
  Status first;
};

void DiscardStaged(FileSystem& files, const std::string& recordsFolder, const SwapMoves& moves) {
  for (const SwapMove& staged : moves.placed)
    (void)files.Remove(recordsFolder + "/" + staged.from);
}

using AttachmentKey = std::pair<std::string, std::string>;  // record ID, name

// Writes the attachment from the zip to a new staging file of the records folder, a piece at a
// time; gives the staging file's name.
Result<std::string> StageAttachment(FileSystem& files, const std::string& recordsFolder,
                                    zip_t* archive, const BackupAttachment& attachment,
                                    int& counter) {
  const std::string prefix = SwapStagingPrefix(files);
  for (;;) {
    std::string name = prefix + std::to_string(++counter);
    Status status = files.WriteFrom(JoinPath(recordsFolder, name),
                                    AttachmentSource(archive, attachment), NewFileMode());
    if (status.code() == StatusCode::kAlreadyExists)
      continue;
    PAYLARK_TRY(status);
    return name;
  }
}

// Why an attachment could not be unpacked: the zip's entry is damaged, or the disk failed.
Status UnpackingFailure(const std::string& zipPath, const std::string& entry,
                        const Status& status) {
  std::string message = "\"";
  if (status.code() == StatusCode::kCorrupt) {
    message.append(zipPath).append("\" is damaged: ").append(entry).append(": ");
    return Status::Corrupt(message.append(status.message()));
  }
  message.append(entry).append("\" could not be restored: ");
  return Status::IoError(message.append(status.message()));
}

// Sorts the current attachments: those the backup holds as they are stay, the others are set
// aside; a foreign file, or a due's folder that cannot be listed, is left alone with the backup's
// files of its name. Only a damaged entry of the zip fails it.
Status SortCurrentAttachments(AttachmentStore& attachments, zip_t* archive,
                              const std::map<AttachmentKey, const BackupAttachment*>& wanted,
                              std::set<AttachmentKey>& leftAlone, AttachmentPlan& plan) {
  const auto tell = [&plan](Status status) {
    if (plan.first.ok())
      plan.first = std::move(status);
  };
  Result<std::set<std::string>> ids = attachments.RecordsWithAttachments();
  if (!ids.ok())
    tell(ids.status());
  for (const std::string& id : ids.ok() ? ids.value() : std::set<std::string>{}) {
    Result<AttachmentListing> listed = attachments.Listing(id);
    if (!listed.ok()) {
      tell(listed.status());
      for (const auto& entry : wanted) {
        if (entry.first.first == id)
          leftAlone.insert(entry.first);
      }
      continue;
    }
    for (const std::string& name : listed.value().foreign) {
      tell(ForeignFile(id, name));
      leftAlone.emplace(id, name);
    }
    for (const Attachment& attachment : listed.value().attachments) {
      const auto found = wanted.find({id, attachment.name});
      if (found != wanted.end()) {
        Result<FileBytes> bytes = attachments.ReadLarge(id, attachment.name);
        Result<bool> same = bytes.ok()
                                ? AttachmentEquals(archive, *found->second, bytes.value().view())
                                : Result<bool>(false);
        PAYLARK_TRY(same);
        if (same.value()) {
          leftAlone.emplace(id, attachment.name);
          continue;
        }
      }
      plan.moves.setAside.push_back({AttachmentStore::RelativePathOf(id, attachment.name),
                                     attachments.SetAsidePathOf(id, attachment.name)});
    }
  }
  return Status::Ok();
}

// Stages the backup's attachments that are not in place as they are, and names the current ones
// that go. A damaged entry or a failed write removes what was staged and changes nothing.
Result<AttachmentPlan> PlanAttachments(FileSystem& files, const std::string& workingDirectory,
                                       zip_t* archive, const std::string& zipPath,
                                       const std::vector<BackupAttachment>& backup) {
  AttachmentStore attachments(files, workingDirectory);
  std::map<AttachmentKey, const BackupAttachment*> wanted;
  for (const BackupAttachment& attachment : backup)
    wanted[{attachment.recordId, attachment.name}] = &attachment;
  AttachmentPlan plan;
  std::set<AttachmentKey> leftAlone;
  if (Status sorted = SortCurrentAttachments(attachments, archive, wanted, leftAlone, plan);
      !sorted.ok())
    return Status::Corrupt("\"" + zipPath + "\" is damaged: " + sorted.message());
  const std::string recordsFolder = RecordsFolderPath(workingDirectory);
  const std::unique_ptr<FileSystem> beneath = files.Beneath(recordsFolder);
  int counter = 0;
  for (const auto& [key, attachment] : wanted) {
    if (leftAlone.contains(key))
      continue;
    Result<std::string> staged =
        StageAttachment(*beneath, recordsFolder, archive, *attachment, counter);
    if (!staged.ok()) {
      DiscardStaged(*beneath, recordsFolder, plan.moves);
      return UnpackingFailure(zipPath, JoinPath(key.first, key.second), staged.status());
    }
    plan.moves.placed.push_back(
        {std::move(staged).value(), AttachmentStore::RelativePathOf(key.first, key.second)});
  }
  return plan;
}

}  // namespace

Result<std::vector<DueRecord>> ReadBackup(const std::string& zipPath, FileSystem& files) {
  PAYLARK_TRY_ASSIGN(const FileBytes bytes, ReadZip(zipPath, files));
  return ReadBackupBytes(bytes.view(), zipPath);
}

Status RestoreBackup(RecordStore& store, const Clock& clock, const std::string& zipPath, int keep,
                     bool allowEmpty) {
  FileSystem& files = store.files();
  const std::string& workingDirectory = store.workingDirectory();
  PAYLARK_TRY_ASSIGN(const FileBytes zip, ReadZip(zipPath, files));
  PAYLARK_TRY_ASSIGN(const std::vector<DueRecord> wanted, ReadBackupBytes(zip.view(), zipPath));
  PAYLARK_TRY_ASSIGN(const std::vector<NewRecordFile> balances,
                     ReadBackupBalances(zip.view(), zipPath));
  PAYLARK_TRY_ASSIGN(const ZipPointer archive, OpenBackupZip(zip.view(), zipPath));
  PAYLARK_TRY_ASSIGN(const std::vector<BackupAttachment> attachments,
                     ListBackupAttachments(archive.get(), zipPath));
  PAYLARK_TRY(CheckRoom(files, workingDirectory, archive.get(), zipPath));
  const ReloadReport loaded = store.Reload();
  if (!loaded.folderStatus.ok())
    return loaded.folderStatus;
  if (wanted.empty() && store.map().size() > 0 && !allowEmpty) {
    return Status::InvalidArgument(std::string(kEmptyBackupReason) + "; restoring it removes all " +
                                   std::to_string(store.map().size()) + " dues");
  }
  // What an earlier restore set aside must be gone before this one sets anything aside.
  const std::string backups = BackupsFolder(workingDirectory);
  AttachmentStore attachmentStore(files, workingDirectory);
  if (Status released = attachmentStore.ReleaseSetAside(backups); !released.ok()) {
    return Status::IoError(
        "attachments an earlier restore replaced could not be moved to the "
        "backups folder (" +
        released.message() + "); nothing was restored");
  }
  PAYLARK_TRY_ASSIGN(const AttachmentPlan plan,
                     PlanAttachments(files, workingDirectory, archive.get(), zipPath, attachments));
  if (Result<std::string> safety = CreateBackup(store, clock, keep); !safety.ok()) {
    DiscardStaged(files, RecordsFolderPath(store.workingDirectory()), plan.moves);
    return safety.status();
  }
  // A backup without balance files may be older than backups that hold them: it leaves the
  // balance entries as they are rather than take them all away.
  PAYLARK_TRY(store.ReplaceAllRecords(
      wanted, balances.empty() ? std::nullopt : std::optional<std::vector<NewRecordFile>>(balances),
      plan.moves));
  Status released = attachmentStore.ReleaseSetAside(backups);
  if (const Status& first = plan.first.ok() ? released : plan.first; !first.ok())
    return Status::IoError("the dues were restored, but not every attachment: " + first.message());
  return Status::Ok();
}

}  // namespace paylark

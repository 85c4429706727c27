#include "core/attachments/attachment_store.h"

#include <algorithm>

#include "core/attachments/attachment_names.h"
#include "core/records/record_files.h"

namespace paylark {
namespace {

std::string Quoted(std::string_view name) {
  return "\"" + std::string(name) + "\"";
}

// A record ID names a folder: it must be one plain name.
bool IsFolderName(std::string_view id) {
  return !id.empty() && id != "." && id != ".." && id.find('/') == std::string_view::npos;
}

Result<std::set<std::string>> NamesIn(FileSystem& files, const std::string& folder) {
  Result<std::vector<FolderEntry>> entries = files.List(folder);
  if (!entries.ok() && entries.status().code() == StatusCode::kNotFound)
    return std::set<std::string>{};
  PAYLARK_TRY(entries);
  std::set<std::string> names;
  for (const FolderEntry& entry : entries.value())
    names.insert(entry.name);
  return names;
}

}  // namespace

Status ForeignFile(std::string_view recordId, std::string_view name) {
  return Status::InvalidArgument(Quoted(std::string(recordId) + "/" + std::string(name)) +
                                 " is a symbolic link or another foreign file; it is left alone");
}

std::string AttachmentsFolderPath(std::string_view workingDirectory) {
  return RecordsFolderPath(workingDirectory) + "/" + std::string(kAttachmentsFolderName);
}

AttachmentStore::AttachmentStore(FileSystem& files, std::string_view workingDirectory)
    : files_(files.Beneath(RecordsFolderPath(workingDirectory))),
      folder_(AttachmentsFolderPath(workingDirectory)) {}

std::string AttachmentStore::PathOf(std::string_view recordId, std::string_view name) const {
  return folder_ + "/" + std::string(recordId) + "/" + std::string(name);
}

Result<std::string> AttachmentStore::FolderOf(std::string_view recordId) const {
  if (!IsFolderName(recordId))
    return Status::InvalidArgument(Quoted(recordId) + " is not a record ID");
  return folder_ + "/" + std::string(recordId);
}

Result<std::vector<Attachment>> AttachmentStore::List(std::string_view recordId) const {
  PAYLARK_TRY_ASSIGN(AttachmentListing listing, Listing(recordId));
  return std::move(listing.attachments);
}

Result<AttachmentListing> AttachmentStore::Listing(std::string_view recordId) const {
  PAYLARK_TRY_ASSIGN(const std::string folder, FolderOf(recordId));
  Result<std::vector<FolderEntry>> entries = files_->List(folder);
  if (!entries.ok() && entries.status().code() == StatusCode::kNotFound)
    return AttachmentListing{};
  if (!entries.ok()) {
    std::string message = "the attachments of " + std::string(recordId) +
                          " cannot be listed: " + entries.status().message();
    return entries.status().code() == StatusCode::kInvalidArgument
               ? Status::InvalidArgument(std::move(message))
               : Status::IoError(std::move(message));
  }
  AttachmentListing listing;
  for (const FolderEntry& entry : entries.value()) {
    if (entry.name.starts_with('.') || entry.info.kind == FileKind::kFolder)
      continue;
    if (entry.info.kind == FileKind::kRegular)
      listing.attachments.push_back({entry.name, entry.info.size});
    else
      listing.foreign.push_back(entry.name);
  }
  std::sort(listing.attachments.begin(), listing.attachments.end(),
            [](const Attachment& a, const Attachment& b) { return a.name < b.name; });
  std::sort(listing.foreign.begin(), listing.foreign.end());
  return listing;
}

Result<std::string> AttachmentStore::Read(std::string_view recordId, std::string_view name) const {
  PAYLARK_TRY_ASSIGN(const std::string folder, FolderOf(recordId));
  return files_->Read(folder + "/" + std::string(name), kMaxAttachmentBytes);
}

Result<FileBytes> AttachmentStore::ReadLarge(std::string_view recordId,
                                             std::string_view name) const {
  PAYLARK_TRY_ASSIGN(const std::string folder, FolderOf(recordId));
  return files_->ReadLarge(folder + "/" + std::string(name), kMaxAttachmentBytes);
}

Result<std::set<std::string>> AttachmentStore::RecordsWithAttachments() const {
  Result<std::vector<FolderEntry>> entries = files_->ListNames(folder_);
  if (!entries.ok() && entries.status().code() == StatusCode::kNotFound)
    return std::set<std::string>{};
  if (!entries.ok())
    return Status::IoError("the attachments cannot be listed: " + entries.status().message());
  std::set<std::string> ids;
  for (const FolderEntry& entry : entries.value()) {
    const bool folderOrLink =
        entry.info.kind == FileKind::kFolder || entry.info.kind == FileKind::kLink;
    if (folderOrLink && !entry.name.starts_with('.'))
      ids.insert(entry.name);
  }
  return ids;
}

Status AttachmentStore::CheckSource(const std::string& sourcePath) {
  const std::string shown = Quoted(BaseName(sourcePath));
  Result<FileInfo> info = files_->Inspect(sourcePath);
  if (!info.ok() && info.status().code() == StatusCode::kNotFound)
    return Status::NotFound(shown + " does not exist");
  if (!info.ok())
    return Status::IoError(shown + " cannot be read: " + info.status().message());
  if (info.value().kind == FileKind::kFolder)
    return Status::InvalidArgument(shown + " is a folder; only files can be attached");
  if (info.value().kind != FileKind::kRegular)
    return Status::InvalidArgument(shown + " is not a regular file");
  if (info.value().size > kMaxAttachmentBytes)
    return Status::InvalidArgument(shown + " is larger than 64 MiB");
  return SafeAttachmentName(BaseName(sourcePath)).status();
}

Result<std::string> AttachmentStore::Add(std::string_view recordId, const std::string& sourcePath) {
  PAYLARK_TRY(CheckSource(sourcePath));
  Result<std::string> bytes = files_->Read(sourcePath, kMaxAttachmentBytes);
  if (!bytes.ok()) {
    return Status::IoError(Quoted(BaseName(sourcePath)) +
                           " cannot be read: " + bytes.status().message());
  }
  return AddBytes(recordId, BaseName(sourcePath), bytes.value());
}

Result<std::string> AttachmentStore::AddBytes(std::string_view recordId, std::string_view fileName,
                                              std::string_view bytes) {
  PAYLARK_TRY_ASSIGN(const std::string name, SafeAttachmentName(fileName));
  if (bytes.size() > kMaxAttachmentBytes)
    return Status::InvalidArgument(Quoted(fileName) + " is larger than 64 MiB");
  PAYLARK_TRY_ASSIGN(const std::string folder, FolderOf(recordId));
  if (Status status = CreateFolders(*files_, folder); !status.ok()) {
    return Status::IoError("the folder \"" + folder +
                           "\" could not be created: " + status.message());
  }
  RemoveStaleTemporariesIn(folder);
  return Place(folder, name, bytes, Placement::kCreateNew);
}

void AttachmentStore::RemoveStaleTemporaries() {
  const Result<std::set<std::string>> ids = RecordsWithAttachments();
  for (const std::string& id : ids.ok() ? ids.value() : std::set<std::string>{})
    RemoveStaleTemporariesIn(folder_ + "/" + id);
}

void AttachmentStore::RemoveStaleTemporariesIn(const std::string& folder) {
  const RecordFolder rules(*files_, folder);  // the records folder's rules for temporary files
  Result<std::vector<FolderEntry>> entries = files_->List(folder);
  if (!entries.ok())
    return;
  for (const FolderEntry& entry : entries.value()) {
    if (rules.Classify(entry) == EntryKind::kStaleTemporary)
      (void)files_->Remove(folder + "/" + entry.name);
  }
}

Status AttachmentStore::Put(std::string_view recordId, const std::string& name,
                            std::string_view bytes) {
  PAYLARK_TRY_ASSIGN(const std::string safe, SafeAttachmentName(name));
  PAYLARK_TRY_ASSIGN(const std::string folder, FolderOf(recordId));
  if (Status status = CreateFolders(*files_, folder); !status.ok()) {
    return Status::IoError("the folder \"" + folder +
                           "\" could not be created: " + status.message());
  }
  Result<FileInfo> there = files_->Inspect(folder + "/" + safe);
  if (there.ok() && there.value().kind != FileKind::kRegular)
    return ForeignFile(recordId, safe);
  return Place(folder, safe, bytes, Placement::kReplace).status();
}

Result<std::string> AttachmentStore::Place(const std::string& folder, const std::string& name,
                                           std::string_view bytes, Placement placement) {
  std::string temporary;
  for (;;) {
    temporary = folder + "/" + std::string(kTempFilePrefix) + std::to_string(files_->ProcessId()) +
                "-" + std::to_string(++temporaryCounter_);
    Status status = files_->Write(temporary, bytes, NewFileMode());
    if (status.code() == StatusCode::kAlreadyExists)
      continue;
    if (!status.ok())
      return Status::IoError(Quoted(name) + " could not be written: " + status.message());
    break;
  }
  const auto fail = [&](const Status& status) -> Result<std::string> {
    (void)files_->Remove(temporary);
    return Status::IoError(Quoted(name) + " could not be written: " + status.message());
  };
  if (Status status = files_->SyncData({temporary}); !status.ok())
    return fail(status);
  if (placement == Placement::kReplace) {
    Status status = files_->Rename(temporary, folder + "/" + name, Placement::kReplace);
    if (!status.ok())
      return fail(status);
    (void)files_->SyncFolder(folder);
    return name;
  }
  Result<std::set<std::string>> taken = NamesIn(*files_, folder);
  if (!taken.ok())
    return fail(taken.status());
  for (int number = 1;; ++number) {
    const std::string candidate = NumberedName(name, number);
    if (taken.value().contains(candidate))
      continue;
    Status status = files_->Rename(temporary, JoinPath(folder, candidate), Placement::kCreateNew);
    if (status.code() == StatusCode::kAlreadyExists)
      continue;  // another device's file arrived meanwhile
    if (!status.ok())
      return fail(status);
    (void)files_->SyncFolder(folder);
    return candidate;
  }
}

std::string AttachmentStore::RemovedFolderOf(std::string_view recordId,
                                             const std::string& backupsFolder) const {
  return backupsFolder + "/" + std::string(kRemovedAttachmentsFolderName) + "/" +
         std::string(recordId);
}

Status AttachmentStore::Remove(std::string_view recordId, std::string_view name,
                               const std::string& backupsFolder) {
  PAYLARK_TRY_ASSIGN(const std::string folder, FolderOf(recordId));
  const std::string path = folder + "/" + std::string(name);
  Status missing = Status::NotFound(std::string(recordId) + " has no attachment " + Quoted(name));
  if (name.empty() || name.starts_with('.') || name.find('/') != std::string_view::npos)
    return missing;
  Result<FileInfo> info = files_->Inspect(path);
  if (!info.ok() && info.status().code() == StatusCode::kNotFound)
    return missing;
  if (!info.ok())
    return Status::IoError(Quoted(name) + " could not be removed: " + info.status().message());
  if (info.value().kind == FileKind::kFolder)
    return Status::InvalidArgument(Quoted(name) + " is a folder, not an attachment");
  if (info.value().kind != FileKind::kRegular)
    return ForeignFile(recordId, name);
  const std::string removed = RemovedFolderOf(recordId, backupsFolder);
  if (Status status = CreateFolders(*files_, removed); !status.ok()) {
    return Status::IoError("the folder \"" + removed +
                           "\" could not be created: " + status.message());
  }
  PAYLARK_TRY_ASSIGN(const std::set<std::string> taken, NamesIn(*files_, removed));
  PAYLARK_TRY(MoveOne(path, removed, std::string(name), taken));
  (void)files_->SyncFolder(removed);
  (void)files_->RemoveFolder(folder);  // only when that was the last
  return Status::Ok();
}

Result<std::string> AttachmentStore::MoveOne(const std::string& from, const std::string& toFolder,
                                             const std::string& name,
                                             const std::set<std::string>& taken) {
  const std::string movedName = FreeAttachmentName(name, taken);
  const std::string target = toFolder + "/" + movedName;
  Status renamed = files_->Rename(from, target, Placement::kCreateNew);
  if (renamed.ok())
    return movedName;
  // Another file system (the backups live under the user's data folder): copy, then remove.
  Result<std::string> bytes = files_->Read(from, kMaxAttachmentBytes);
  if (!bytes.ok())
    return Status::IoError(Quoted(name) + " could not be moved: " + renamed.message());
  Status written = files_->Write(target, bytes.value(), NewFileMode());
  if (written.ok())
    written = files_->SyncData({target});
  if (!written.ok()) {
    (void)files_->Remove(target);
    return Status::IoError(Quoted(name) + " could not be moved: " + written.message());
  }
  if (Status removed = files_->Remove(from); !removed.ok())
    return Status::IoError(Quoted(name) + " could not be moved: " + removed.message());
  return movedName;
}

Status AttachmentStore::MoveToRemoved(std::string_view recordId, const std::string& backupsFolder) {
  PAYLARK_TRY_ASSIGN(const AttachmentListing listing, Listing(recordId));
  PAYLARK_TRY_ASSIGN(const std::string folder, FolderOf(recordId));
  Status first = listing.foreign.empty() ? Status::Ok() : ForeignFile(recordId, listing.foreign[0]);
  std::vector<std::string> names;
  names.reserve(listing.attachments.size());
  for (const Attachment& attachment : listing.attachments)
    names.push_back(attachment.name);
  Status moved = MoveNamesToRemoved(folder, recordId, names, backupsFolder);
  return first.ok() ? moved : first;
}

Status AttachmentStore::MoveNamesToRemoved(const std::string& folder, std::string_view recordId,
                                           const std::vector<std::string>& names,
                                           const std::string& backupsFolder) {
  if (names.empty()) {
    (void)files_->RemoveFolder(folder);
    return Status::Ok();
  }
  const std::string removed = RemovedFolderOf(recordId, backupsFolder);
  if (Status status = CreateFolders(*files_, removed); !status.ok()) {
    return Status::IoError("the folder \"" + removed +
                           "\" could not be created: " + status.message());
  }
  PAYLARK_TRY_ASSIGN(std::set<std::string> taken, NamesIn(*files_, removed));
  Status first;
  for (const std::string& name : names) {
    Result<std::string> moved = MoveOne(JoinPath(folder, name), removed, name, taken);
    if (moved.ok())
      taken.insert(moved.value());
    else if (first.ok())
      first = moved.status();
  }
  (void)files_->SyncFolder(removed);
  (void)files_->RemoveFolder(folder);
  return first;
}

}  // namespace paylark

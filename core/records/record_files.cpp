#include "core/records/record_files.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/records/record_swap.h"
#include "core/records/sync_file_names.h"

namespace paylark {
namespace {

// Byte order of the names. The names of a records folder share a long prefix ("duedate" and
// the year), so the order is found on the 8 bytes after the prefix they all share, read as one
// number; only names with equal numbers are compared whole.
void SortByName(std::vector<FolderEntry>& entries) {
  if (entries.size() < 2)
    return;
  const std::string_view first = entries.front().name;
  std::size_t shared = first.size();
  for (const FolderEntry& entry : entries) {
    const std::string_view name = entry.name;
    shared = static_cast<std::size_t>(
        std::mismatch(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(shared),
                      name.begin(), name.end())
            .first -
        first.begin());
  }
  struct Keyed {
    std::uint64_t key;
    std::uint32_t index;
  };
  std::vector<Keyed> keyed(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string_view name = entries[i].name;
    std::uint64_t key = 0;
    for (std::size_t at = shared; at < shared + 8; ++at)
      key = key << 8 | (at < name.size() ? static_cast<unsigned char>(name[at]) : 0u);
    keyed[i] = {key, static_cast<std::uint32_t>(i)};
  }
  std::sort(keyed.begin(), keyed.end(), [&entries](const Keyed& a, const Keyed& b) {
    return a.key != b.key ? a.key < b.key : entries[a.index].name < entries[b.index].name;
  });
  // Each name is copied, not moved: the copies lie in memory in name order, as every later pass
  // (reading, mapping, the snapshot) walks them. Moved, they would stay in the listing's order
  // and each pass would miss the cache on every name, which at a million files costs more than
  // the copies and the second list together.
  std::vector<FolderEntry> sorted;
  sorted.reserve(entries.size());
  for (const Keyed& place : keyed)
    sorted.push_back({std::string(entries[place.index].name), entries[place.index].info});
  entries = std::move(sorted);
}

}  // namespace

RecordFolder::~RecordFolder() {
  for (const auto& rename : pending_)
    (void)files_.Remove(rename.tempPath);
}

std::string RecordFolder::PathOf(std::string_view fileName) const {
  std::string path = path_;
  path += '/';
  path += fileName;
  return path;
}

Status RecordFolder::Create() const {
  return files_.CreateFolder(path_);
}

bool RecordFolder::Exists(std::string_view fileName) const {
  return files_.Inspect(PathOf(fileName)).ok();
}

EntryKind RecordFolder::Classify(const FolderEntry& entry) const {
  const std::string_view name = entry.name;
  if (IsSwapFileName(name))
    return EntryKind::kSwap;
  if (name.starts_with(kTempFilePrefix) && !HasRecordSuffix(name)) {
    if (entry.info.kind == FileKind::kRegular &&
        IsStaleTemporary(files_, WriterOf(name), entry.info.ageSeconds))
      return EntryKind::kStaleTemporary;
    return EntryKind::kOther;
  }
  if (!HasRecordSuffix(name) || entry.info.kind != FileKind::kRegular)
    return EntryKind::kOther;
  if (entry.info.inspected && entry.info.size > kMaxRecordFileBytes)
    return EntryKind::kTooLarge;
  switch (KindOfFileName(name)) {
    case SyncFileKind::kRecord:
      return EntryKind::kRecord;
    case SyncFileKind::kConflictCopy:
      return EntryKind::kConflictCopy;
    case SyncFileKind::kTemporary:
    case SyncFileKind::kOther:
      break;
  }
  return EntryKind::kOther;
}

Result<FolderScan> RecordFolder::Scan(ScanDepth depth) const {
  Result<std::vector<FolderEntry>> entries =
      depth == ScanDepth::kNames ? files_.ListNames(path_) : files_.List(path_);
  if (!entries.ok())
    return entries.status();
  FolderScan scan;
  // The record files stay where they were listed, moved up over the others: at a million files
  // a second list would be a hundred megabytes of fresh memory.
  std::vector<FolderEntry>& listed = entries.value();
  std::size_t records = 0;
  for (FolderEntry& entry : listed) {
    // Whether a temporary file is stale depends on its age.
    if (!entry.info.inspected && entry.name.starts_with(kTempFilePrefix)) {
      Result<FileInfo> info = files_.Inspect(PathOf(entry.name));
      if (!info.ok())
        continue;
      entry.info = info.value();
    }
    switch (Classify(entry)) {
      case EntryKind::kRecord:
        if (&entry != &listed[records])
          listed[records] = std::move(entry);
        ++records;
        break;
      case EntryKind::kConflictCopy:
        scan.conflictCopies.push_back(std::move(entry.name));
        break;
      case EntryKind::kTooLarge:
        scan.tooLarge.push_back(std::move(entry.name));
        break;
      case EntryKind::kStaleTemporary:
        scan.staleTemporaries.push_back(std::move(entry.name));
        break;
      case EntryKind::kSwap:
        scan.swapFiles.push_back(std::move(entry.name));
        break;
      case EntryKind::kOther:
        if (IsBalanceFileName(entry.name) && entry.info.kind == FileKind::kRegular)
          scan.balanceFiles.push_back(std::move(entry.name));
        break;
    }
  }
  listed.erase(listed.begin() + static_cast<std::ptrdiff_t>(records), listed.end());
  scan.records = std::move(listed);
  SortByName(scan.records);
  std::sort(scan.conflictCopies.begin(), scan.conflictCopies.end());
  std::sort(scan.tooLarge.begin(), scan.tooLarge.end());
  std::sort(scan.balanceFiles.begin(), scan.balanceFiles.end());
  std::sort(scan.staleTemporaries.begin(), scan.staleTemporaries.end());
  return scan;
}

Result<std::vector<std::string>> RecordFolder::ListRecordFiles() const {
  PAYLARK_TRY_ASSIGN(FolderScan scan, Scan());
  std::vector<std::string> names;
  names.reserve(scan.records.size());
  for (FolderEntry& entry : scan.records)
    names.push_back(std::move(entry.name));
  return names;
}

Result<std::string> RecordFolder::Read(std::string_view fileName) const {
  return files_.Read(PathOf(fileName), kMaxRecordFileBytes);
}

void RecordFolder::RemoveStaleTemporaries(const FolderScan& scan) const {
  for (const std::string& name : scan.staleTemporaries)
    (void)files_.Remove(PathOf(name));
}

Result<std::string> RecordFolder::WriteTemporary(std::string_view bytes, int mode) {
  const std::string prefix =
      PathOf(std::string(kTempFilePrefix) + std::to_string(files_.ProcessId()) + "-");
  for (;;) {
    // A name left by an earlier process with the same ID is passed over.
    std::string tempPath = prefix + std::to_string(++temporaryCounter_);
    Status status = files_.Write(tempPath, bytes, mode);
    if (status.code() == StatusCode::kAlreadyExists)
      continue;
    PAYLARK_TRY(status);
    return tempPath;
  }
}

Status RecordFolder::SyncFolder() const {
  return Synced() ? files_.SyncFolder(path_) : Status::Ok();
}

Status RecordFolder::Place(const std::string& tempPath, std::string_view fileName,
                           Placement placement) {
  Status status = files_.Rename(tempPath, PathOf(fileName), placement);
  if (!status.ok()) {
    (void)files_.Remove(tempPath);
    if (status.code() == StatusCode::kAlreadyExists)
      return Status::AlreadyExists("another file has this name");
  }
  return status;
}

Status RecordFolder::CreateNew(std::string_view fileName, std::string_view bytes) {
  if (Exists(fileName))
    return Status::AlreadyExists("another file has this name");
  PAYLARK_TRY_ASSIGN(const std::string temp, WriteTemporary(bytes, NewFileMode()));
  if (Synced() && !InBatch()) {
    Status flushed = files_.SyncData({temp});
    if (!flushed.ok()) {
      (void)files_.Remove(temp);
      return flushed;
    }
  }
  PAYLARK_TRY(Place(temp, fileName, Placement::kCreateNew));
  if (InBatch()) {
    unflushed_.push_back(PathOf(fileName));
    folderChanged_ = true;
    return Status::Ok();
  }
  return SyncFolder();
}

Status RecordFolder::Replace(std::string_view fileName, std::string_view bytes) {
  int mode = NewFileMode();
  if (Result<FileInfo> info = files_.Inspect(PathOf(fileName)); info.ok()) {
    if ((info.value().mode & 0222) == 0 || !info.value().writable)
      return Status::IoError("the file is write-protected");
    mode = info.value().mode;
  }
  Result<std::string> temp = WriteTemporary(bytes, mode);
  if (!temp.ok())
    return temp.status();
  if (InBatch()) {
    pending_.push_back({std::move(temp).value(), std::string(fileName)});
    pendingNames_.emplace(fileName);
    return Status::Ok();
  }
  if (Synced()) {
    Status flushed = files_.SyncData({temp.value()});
    if (!flushed.ok()) {
      (void)files_.Remove(temp.value());
      return flushed;
    }
  }
  Status status = Place(temp.value(), fileName, Placement::kReplace);
  return status.ok() ? SyncFolder() : status;
}

Status RecordFolder::Remove(std::string_view fileName) {
  pendingNames_.erase(std::string(fileName));
  std::erase_if(pending_, [&](const PendingRename& rename) {
    if (rename.finalName != fileName)
      return false;
    (void)files_.Remove(rename.tempPath);
    return true;
  });
  Status status = files_.Remove(PathOf(fileName));
  if (!status.ok() && status.code() != StatusCode::kNotFound)
    return status;
  if (InBatch()) {
    folderChanged_ = true;
    return Status::Ok();
  }
  return SyncFolder();
}

void RecordFolder::BeginBatch() {
  ++batchDepth_;
}

Status RecordFolder::EndBatch() {
  if (batchDepth_ == 0 || --batchDepth_ > 0)
    return Status::Ok();
  std::vector<PendingRename> pending = std::exchange(pending_, {});
  pendingNames_.clear();
  std::vector<std::string> unflushed = std::exchange(unflushed_, {});
  const bool folderChanged = std::exchange(folderChanged_, false) || !pending.empty();
  for (const auto& rename : pending)
    unflushed.push_back(rename.tempPath);
  Status status = Synced() ? files_.SyncData(unflushed) : Status::Ok();
  std::size_t placed = 0;
  for (; status.ok() && placed < pending.size(); ++placed)
    status = Place(pending[placed].tempPath, pending[placed].finalName, Placement::kReplace);
  for (std::size_t i = placed; i < pending.size(); ++i)
    (void)files_.Remove(pending[i].tempPath);
  if (folderChanged) {
    Status synced = SyncFolder();
    if (status.ok())
      status = std::move(synced);
  }
  return status;
}

}  // namespace paylark

// What a restore sets aside in the Attachments folder, and how it reaches "Removed attachments".
#include <algorithm>
#include <charconv>

#include "core/attachments/attachment_store.h"
#include "core/records/record_swap.h"

namespace paylark {
namespace {

// The restore's process ID in ".paylark-aside-<ID>"; 0 for none.
int WriterOf(std::string_view name) {
  name.remove_prefix(kSetAsidePrefix.size());
  int processId = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), processId);
  return error == std::errc() && end == name.data() + name.size() ? processId : 0;
}

// Whether a swap of the records folder waits to be finished: it may still need what it set aside
// where it left it.
bool SwapPending(FileSystem& files, const std::string& recordsFolder) {
  Result<std::vector<FolderEntry>> entries = files.ListNames(recordsFolder);
  if (!entries.ok())
    return false;
  return std::any_of(entries.value().begin(), entries.value().end(),
                     [](const FolderEntry& entry) { return IsSwapJournalName(entry.name); });
}

}  // namespace

std::string AttachmentStore::RelativePathOf(std::string_view recordId, std::string_view name) {
  std::string path(kAttachmentsFolderName);
  path.append("/").append(recordId).append("/").append(name);
  return path;
}

std::string AttachmentStore::SetAsidePathOf(std::string_view recordId,
                                            std::string_view name) const {
  std::string path(kAttachmentsFolderName);
  path.append("/").append(kSetAsidePrefix).append(std::to_string(files_->ProcessId()));
  path.append("/").append(recordId).append("/").append(name);
  return path;
}

Status AttachmentStore::ReleaseSetAside(const std::string& backupsFolder) {
  Result<std::vector<FolderEntry>> entries = files_->List(folder_);
  if (!entries.ok())
    return entries.status().code() == StatusCode::kNotFound ? Status::Ok() : entries.status();
  std::vector<std::string> leftovers;
  for (const FolderEntry& entry : entries.value()) {
    if (!entry.name.starts_with(kSetAsidePrefix) || entry.info.kind != FileKind::kFolder)
      continue;
    const int writer = WriterOf(entry.name);
    if (writer == files_->ProcessId() || !files_->ProcessRunning(writer))
      leftovers.push_back(entry.name);
  }
  // Listing the records folder takes a while at a million dues: only a killed restore's leftovers
  // are worth it.
  if (leftovers.empty() || SwapPending(*files_, ParentFolder(folder_)))
    return Status::Ok();
  Status first;
  for (const std::string& name : leftovers) {
    Status moved = ReleaseSetAsideFolder(folder_ + "/" + name, backupsFolder);
    if (!moved.ok() && first.ok())
      first = std::move(moved);
  }
  return first;
}

Status AttachmentStore::ReleaseSetAsideFolder(const std::string& folder,
                                              const std::string& backupsFolder) {
  PAYLARK_TRY_ASSIGN(const std::vector<FolderEntry> dues, files_->List(folder));
  Status first;
  for (const FolderEntry& due : dues) {
    if (due.info.kind != FileKind::kFolder)
      continue;
    const std::string dueFolder = folder + "/" + due.name;
    PAYLARK_TRY_ASSIGN(const std::vector<FolderEntry> files, files_->List(dueFolder));
    std::vector<std::string> names;
    for (const FolderEntry& file : files) {
      if (file.info.kind == FileKind::kRegular)
        names.push_back(file.name);
    }
    Status moved = MoveNamesToRemoved(dueFolder, due.name, names, backupsFolder);
    if (!moved.ok() && first.ok())
      first = std::move(moved);
  }
  (void)files_->RemoveFolder(folder);
  return first;
}

}  // namespace paylark

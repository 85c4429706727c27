#include "tests/support/memory_file_system.h"

#include <algorithm>
#include <cerrno>

namespace paylark {

void MemoryFileSystem::FailNth(Call call, int nth, int error) {
  faults_[Index(call)].nth = nth;
  faults_[Index(call)].error = error;
}

void MemoryFileSystem::FailAlways(Call call, int error) {
  faults_[Index(call)].always = error;
  faults_[Index(call)].sticky = false;
}

void MemoryFileSystem::FailFrom(Call call, int nth, int error) {
  FailNth(call, nth, error);
  faults_[Index(call)].sticky = true;
}

std::optional<Status> MemoryFileSystem::Injected(Call call) {
  std::lock_guard lock(faultMutex_);
  ++calls_[Index(call)];
  Fault& fault = faults_[Index(call)];
  if (fault.always != 0)
    return ErrnoStatus(fault.always);
  if (fault.nth > 0 && --fault.nth == 0) {
    if (fault.sticky)
      fault.always = fault.error;
    return ErrnoStatus(fault.error);
  }
  if (call != Call::kRead && freezeAfter_ >= 0 && freezeAfter_-- == 0) {
    freezeAfter_ = 0;
    return ErrnoStatus(EIO);
  }
  return std::nullopt;
}

bool MemoryFileSystem::FolderOf(const std::string& path) const {
  return folders_.contains(ParentFolder(path));
}

void MemoryFileSystem::Put(const std::string& path, std::string bytes, int mode) {
  folders_.insert(ParentFolder(path));
  files_[path] = NewFile(std::move(bytes), mode);
}

MemoryFileSystem::File MemoryFileSystem::NewFile(std::string bytes, int mode) {
  File file{std::move(bytes), mode};
  file.inode = ++lastInode_;
  file.changeTime = ++lastChange_;
  return file;
}

void MemoryFileSystem::PutOther(const std::string& path) {
  Put(path, {});
  files_[path].kind = FileKind::kOther;
}

void MemoryFileSystem::FailRead(const std::string& path, int error) {
  files_[path].readError = error;
}

void MemoryFileSystem::FailList(const std::string& folder, int error) {
  listErrors_[folder] = error;
}

void MemoryFileSystem::SetAge(const std::string& path, std::int64_t seconds) {
  files_[path].ageSeconds = seconds;
}

void MemoryFileSystem::SetChangeAge(const std::string& path, std::int64_t seconds) {
  files_[path].changeAgeSeconds = seconds;
}

void MemoryFileSystem::SetInode(const std::string& path, std::uint64_t inode) {
  files_[path].inode = inode;
}

std::uint64_t MemoryFileSystem::InodeOf(const std::string& path) const {
  const auto found = files_.find(path);
  return found == files_.end() ? 0 : found->second.inode;
}

std::string MemoryFileSystem::Contents(const std::string& path) const {
  const auto found = files_.find(path);
  return found == files_.end() ? std::string() : found->second.bytes;
}

int MemoryFileSystem::ModeOf(const std::string& path) const {
  const auto found = files_.find(path);
  return found == files_.end() ? 0 : found->second.mode;
}

std::vector<std::string> MemoryFileSystem::Names(const std::string& folder) const {
  std::vector<std::string> names;
  for (const auto& [path, file] : files_) {
    if (ParentFolder(path) == folder)
      names.push_back(path.substr(folder.size() + 1));
  }
  return names;
}

void MemoryFileSystem::SetProcess(int processId, bool running) {
  if (running)
    running_.insert(processId);
  else
    running_.erase(processId);
}

bool MemoryFileSystem::ProcessRunning(int processId) const {
  return processId == processId_ || running_.contains(processId);
}

Status MemoryFileSystem::CreateFolder(const std::string& path) {
  if (files_.contains(path))
    return ErrnoStatus(EEXIST);
  folders_.insert(path);
  return Status::Ok();
}

Result<std::vector<FolderEntry>> MemoryFileSystem::List(const std::string& folder) {
  if (onList_)
    onList_();
  if (!folders_.contains(folder))
    return ErrnoStatus(ENOENT);
  if (const auto failing = listErrors_.find(folder); failing != listErrors_.end())
    return ErrnoStatus(failing->second);
  std::vector<FolderEntry> entries;
  for (const std::string& name : Names(folder)) {
    std::string path = folder + '/';
    path += name;
    FileInfo info = Inspect(path).value();
    info.writable = false;
    entries.push_back({name, info});
  }
  for (const std::string& path : folders_) {
    if (ParentFolder(path) == folder)
      entries.push_back({path.substr(folder.size() + 1), FileInfo{FileKind::kFolder, 0, 0755}});
  }
  return entries;
}

Result<FileInfo> MemoryFileSystem::Inspect(const std::string& path) {
  if (folders_.contains(path))
    return FileInfo{FileKind::kFolder, 0, 0755, true, 0};
  const auto found = files_.find(path);
  if (found == files_.end())
    return ErrnoStatus(ENOENT);
  const File& file = found->second;
  return FileInfo{file.kind,       file.bytes.size(), file.mode,       (file.mode & 0200) != 0,
                  file.ageSeconds, file.inode,        file.changeTime, file.changeAgeSeconds};
}

Result<std::string> MemoryFileSystem::Read(const std::string& path, std::size_t maxBytes) {
  const auto found = files_.find(path);
  if (found == files_.end())
    return ErrnoStatus(folders_.contains(path) ? EISDIR : ENOENT);
  if (auto fault = Injected(Call::kRead))
    return *fault;
  if (found->second.readError != 0)
    return ErrnoStatus(found->second.readError);
  if (found->second.kind != FileKind::kRegular)
    return Status::InvalidArgument("it is not a regular file");
  if (found->second.bytes.size() > maxBytes)
    return Status::InvalidArgument("the file is too large");
  return found->second.bytes;
}

Status MemoryFileSystem::Write(const std::string& path, std::string_view bytes, int mode) {
  if (auto fault = Injected(Call::kWrite))
    return *fault;
  if (!FolderOf(path))
    return ErrnoStatus(ENOENT);
  if (files_.contains(path) || folders_.contains(path))
    return ErrnoStatus(EEXIST);
  files_[path] = NewFile(std::string(bytes), mode);
  return Status::Ok();
}

Result<std::uint64_t> MemoryFileSystem::FreeBytes(const std::string& folder) {
  if (!folders_.contains(folder))
    return ErrnoStatus(ENOENT);
  return freeBytes_;
}

Status MemoryFileSystem::Rename(const std::string& from, const std::string& to,
                                Placement placement) {
  if (auto fault = Injected(Call::kRename))
    return *fault;
  const auto source = files_.find(from);
  if (source == files_.end() || !FolderOf(to))
    return ErrnoStatus(ENOENT);
  if (folders_.contains(to))
    return ErrnoStatus(EISDIR);
  if (placement == Placement::kCreateNew && files_.contains(to))
    return ErrnoStatus(EEXIST);
  File moved = std::move(source->second);
  moved.changeTime = ++lastChange_;
  files_.erase(source);
  files_[to] = std::move(moved);
  return Status::Ok();
}

Status MemoryFileSystem::Remove(const std::string& path) {
  if (auto fault = Injected(Call::kRemove))
    return *fault;
  if (folders_.contains(path))
    return ErrnoStatus(EISDIR);
  return files_.erase(path) == 1 ? Status::Ok() : ErrnoStatus(ENOENT);
}

Status MemoryFileSystem::RemoveFolder(const std::string& path) {
  if (auto fault = Injected(Call::kRemove))
    return *fault;
  if (!folders_.contains(path))
    return ErrnoStatus(files_.contains(path) ? ENOTDIR : ENOENT);
  const std::string prefix = path + '/';
  const auto holds = [&](const std::string& inside) { return inside.starts_with(prefix); };
  const auto file = files_.lower_bound(prefix);
  if ((file != files_.end() && holds(file->first)) ||
      std::any_of(folders_.begin(), folders_.end(), holds))
    return ErrnoStatus(ENOTEMPTY);
  folders_.erase(path);
  return Status::Ok();
}

Status MemoryFileSystem::SyncData(const std::vector<std::string>& paths) {
  if (paths.empty())
    return Status::Ok();
  if (auto fault = Injected(Call::kSync))
    return *fault;
  return Status::Ok();
}

Status MemoryFileSystem::SyncFolder(const std::string& folder) {
  if (auto fault = Injected(Call::kSync))
    return *fault;
  return folders_.contains(folder) ? Status::Ok() : ErrnoStatus(ENOENT);
}

}  // namespace paylark

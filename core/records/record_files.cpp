#include "core/records/record_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace paylark {
namespace {

std::string Reason(int error) {
  return std::strerror(error);
}

bool EndsWithDue(std::string_view name) {
  if (name.size() < 4)
    return false;
  std::string tail(name.substr(name.size() - 4));
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".due";
}

int DefaultFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~static_cast<int>(mask);
}

Status WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return Status::IoError(Reason(errno));
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return Status::Ok();
}

// Moves from onto to without replacing anything already at to.
int RenameNoReplace(const char* from, const char* to) {
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
    return 0;
  if (errno != EINVAL && errno != ENOSYS)
    return errno;
  if (link(from, to) == 0) {
    unlink(from);
    return 0;
  }
  if (errno == EEXIST)
    return EEXIST;
  struct stat st;
  if (lstat(to, &st) == 0)
    return EEXIST;
  return rename(from, to) == 0 ? 0 : errno;
}

}  // namespace

RecordFolder::~RecordFolder() {
  for (const auto& rename : pending_)
    unlink(rename.tempPath.c_str());
}

std::string RecordFolder::PathOf(std::string_view fileName) const {
  std::string path = path_;
  path += '/';
  path += fileName;
  return path;
}

Status RecordFolder::Create() const {
  if (mkdir(path_.c_str(), 0777) == 0 || errno == EEXIST)
    return Status::Ok();
  return Status::IoError(Reason(errno));
}

bool RecordFolder::Exists(std::string_view fileName) const {
  struct stat st;
  return lstat(PathOf(fileName).c_str(), &st) == 0;
}

Result<std::vector<std::string>> RecordFolder::ListRecordFiles() const {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(path_.c_str()), closedir);
  if (!dir)
    return Status::IoError(Reason(errno));
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (!EndsWithDue(name))
      continue;
    bool regular = entry->d_type == DT_REG;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat st;
      regular = stat(PathOf(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    if (regular)
      names.emplace_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

Result<std::string> RecordFolder::Read(std::string_view fileName) const {
  const int fd = open(PathOf(fileName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return Status::IoError(Reason(errno));
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0) {
      const int error = errno;
      close(fd);
      return Status::IoError(Reason(error));
    }
    if (got == 0)
      break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  return bytes;
}

void RecordFolder::RemoveTemporaryFiles() const {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(path_.c_str()), closedir);
  if (!dir)
    return;
  std::vector<std::string> stray;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name.starts_with(kTempFilePrefix) && !EndsWithDue(name))
      stray.emplace_back(name);
  }
  for (const auto& name : stray)
    unlink(PathOf(name).c_str());
}

Result<std::string> RecordFolder::WriteTemporary(std::string_view bytes, int mode) const {
  std::string tempPath = PathOf(std::string(kTempFilePrefix) + "XXXXXX");
  const int fd = mkostemp(tempPath.data(), O_CLOEXEC);
  if (fd < 0)
    return Status::IoError(Reason(errno));
  Status status = WriteAll(fd, bytes);
  if (status.ok() && fchmod(fd, static_cast<mode_t>(mode)) != 0) {
    status = Status::IoError(Reason(errno));
  }
  if (status.ok() && Synced() && !InBatch() && fdatasync(fd) != 0) {
    status = Status::IoError(Reason(errno));
  }
  if (close(fd) != 0 && status.ok())
    status = Status::IoError(Reason(errno));
  if (!status.ok()) {
    unlink(tempPath.c_str());
    return status;
  }
  return tempPath;
}

Status RecordFolder::Commit(const PendingRename& pending) const {
  const std::string target = PathOf(pending.finalName);
  if (pending.createNew) {
    const int error = RenameNoReplace(pending.tempPath.c_str(), target.c_str());
    if (error == 0)
      return Status::Ok();
    unlink(pending.tempPath.c_str());
    if (error == EEXIST)
      return Status::AlreadyExists("another file has this name");
    return Status::IoError(Reason(error));
  }
  if (rename(pending.tempPath.c_str(), target.c_str()) == 0)
    return Status::Ok();
  const int error = errno;
  unlink(pending.tempPath.c_str());
  return Status::IoError(Reason(error));
}

void RecordFolder::SyncFolder() const {
  if (!Synced())
    return;
  const int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return;
  fsync(fd);
  close(fd);
}

Status RecordFolder::CreateNew(std::string_view fileName, std::string_view bytes) {
  if (Exists(fileName))
    return Status::AlreadyExists("another file has this name");
  return WriteAndRename(fileName, bytes, DefaultFileMode(), Placement::kCreateNew);
}

Status RecordFolder::Replace(std::string_view fileName, std::string_view bytes) {
  int mode = DefaultFileMode();
  struct stat st;
  if (stat(PathOf(fileName).c_str(), &st) == 0) {
    if ((st.st_mode & 0222) == 0 || access(PathOf(fileName).c_str(), W_OK) != 0) {
      return Status::IoError("the file is write-protected");
    }
    mode = static_cast<int>(st.st_mode & 07777);
  }
  return WriteAndRename(fileName, bytes, mode, Placement::kReplace);
}

Status RecordFolder::WriteAndRename(std::string_view fileName, std::string_view bytes, int mode,
                                    Placement placement) {
  Result<std::string> temp = WriteTemporary(bytes, mode);
  if (!temp.ok())
    return temp.status();
  PendingRename rename{std::move(temp).value(), std::string(fileName),
                       placement == Placement::kCreateNew};
  if (InBatch()) {
    pending_.push_back(std::move(rename));
    return Status::Ok();
  }
  Status status = Commit(rename);
  if (status.ok())
    SyncFolder();
  return status;
}

Status RecordFolder::Remove(std::string_view fileName) {
  std::erase_if(pending_, [&](const PendingRename& rename) {
    if (rename.finalName != fileName)
      return false;
    unlink(rename.tempPath.c_str());
    return true;
  });
  if (unlink(PathOf(fileName).c_str()) == 0 || errno == ENOENT) {
    if (!InBatch())
      SyncFolder();
    return Status::Ok();
  }
  return Status::IoError(Reason(errno));
}

void RecordFolder::BeginBatch() {
  ++batchDepth_;
}

Status RecordFolder::EndBatch() {
  if (batchDepth_ == 0 || --batchDepth_ > 0)
    return Status::Ok();
  if (Synced() && !pending_.empty()) {
    const int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
      syncfs(fd);
      close(fd);
    }
  }
  Status first;
  for (const auto& rename : pending_) {
    Status status = Commit(rename);
    if (first.ok() && !status.ok())
      first = std::move(status);
  }
  pending_.clear();
  SyncFolder();
  return first;
}

}  // namespace paylark

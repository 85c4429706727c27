#include "core/io/file_system.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace paylark {
namespace {

// Large files are written this much at a time.
constexpr std::size_t kWriteChunk = std::size_t{64} * 1024;

}  // namespace

int NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~static_cast<int>(mask);
}

Status ErrnoStatus(int error) {
  if (error == ENOENT)
    return Status::NotFound(std::strerror(error));
  if (error == EEXIST)
    return Status::AlreadyExists(std::strerror(error));
  return Status::IoError(std::strerror(error));
}

bool IsPermissionDenied(const Status& status) {
  return status.code() == StatusCode::kIoError &&
         (status.message() == std::strerror(EACCES) || status.message() == std::strerror(EPERM));
}

Status CreateFolders(FileSystem& files, const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    if (Status status = files.CreateFolder(path.substr(0, slash)); !status.ok())
      return status;
  }
  return files.CreateFolder(path);
}

namespace {

class PathReader final : public FolderReader {
 public:
  PathReader(FileSystem& files, std::string folder) : files_(files), folder_(std::move(folder)) {}
  Result<std::string> Read(std::string_view name, std::size_t maxBytes,
                           FileInfo& info) const override {
    const std::string path = folder_ + "/" + std::string(name);
    PAYLARK_TRY_ASSIGN(info, files_.Inspect(path));
    return files_.Read(path, maxBytes);
  }

 private:
  FileSystem& files_;
  std::string folder_;
};

// A file system that keeps no links is the same beneath any root: every call goes to it.
class SameFiles final : public FileSystem {
 public:
  explicit SameFiles(FileSystem& files) : files_(files) {}
  Status CreateFolder(const std::string& path) override { return files_.CreateFolder(path); }
  Result<std::vector<FolderEntry>> List(const std::string& folder) override {
    return files_.List(folder);
  }
  Result<std::vector<FolderEntry>> ListNames(const std::string& folder) override {
    return files_.ListNames(folder);
  }
  Result<FileInfo> Inspect(const std::string& path) override { return files_.Inspect(path); }
  Result<std::string> Read(const std::string& path, std::size_t maxBytes) override {
    return files_.Read(path, maxBytes);
  }
  Result<FileBytes> ReadLarge(const std::string& path, std::size_t maxBytes) override {
    return files_.ReadLarge(path, maxBytes);
  }
  std::unique_ptr<FolderReader> ReadFolder(const std::string& folder) override {
    return files_.ReadFolder(folder);
  }
  Status Write(const std::string& path, std::string_view bytes, int mode) override {
    return files_.Write(path, bytes, mode);
  }
  Status WriteFrom(const std::string& path, const ChunkSource& source, int mode) override {
    return files_.WriteFrom(path, source, mode);
  }
  Result<std::uint64_t> FreeBytes(const std::string& folder) override {
    return files_.FreeBytes(folder);
  }
  Status Rename(const std::string& from, const std::string& to, Placement placement) override {
    return files_.Rename(from, to, placement);
  }
  Status Remove(const std::string& path) override { return files_.Remove(path); }
  Status RemoveFolder(const std::string& path) override { return files_.RemoveFolder(path); }
  Status SyncData(const std::vector<std::string>& paths) override { return files_.SyncData(paths); }
  Status SyncFolder(const std::string& folder) override { return files_.SyncFolder(folder); }
  std::unique_ptr<FileSystem> Beneath(const std::string& root) override {
    return files_.Beneath(root);
  }
  int ProcessId() const override { return files_.ProcessId(); }
  bool ProcessRunning(int processId) const override { return files_.ProcessRunning(processId); }
  std::string ExecutablePath() const override { return files_.ExecutablePath(); }

 private:
  FileSystem& files_;
};

}  // namespace

std::unique_ptr<FileSystem> FileSystem::Beneath(const std::string&) {
  return std::make_unique<SameFiles>(*this);
}

void FolderReader::ReadEach(std::span<const std::string_view> names, std::size_t maxBytes,
                            const FileRead& done) const {
  for (std::size_t i = 0; i < names.size(); ++i) {
    FileInfo info;
    Result<std::string> bytes = Read(names[i], maxBytes, info);
    done(i, std::move(bytes), info);
  }
}

void FileBytes::LetGoBefore(std::size_t offset) const {
  if (storage_ != Storage::kMapped)
    return;
  // A mapping starts on a page; only the pages wholly before the offset go.
  const auto pageBytes = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t whole = std::min(offset, bytes_.size()) / pageBytes * pageBytes;
  if (whole > 0)
    (void)madvise(const_cast<char*>(bytes_.data()), whole, MADV_DONTNEED);
}

PageBlock FileBytes::ChangeablePages(std::size_t offset, std::size_t size) const {
  if (storage_ != Storage::kMapped || offset > bytes_.size() || size > bytes_.size() - offset)
    return {};
  // The system's file system maps privately: pages made writable are copied as they are written.
  // Only they are: the memory the system sets aside for copies is that of the range, not the file.
  char* const start = const_cast<char*>(bytes_.data()) + offset;
  const auto pageBytes = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t before = reinterpret_cast<std::uintptr_t>(start) % pageBytes;
  if (mprotect(start - before, size + before, PROT_READ | PROT_WRITE) != 0)
    return {};
  return PageBlock(start, size, owner_);
}

FileBytes FileBytes::Held(std::string bytes) {
  auto held = std::make_shared<const std::string>(std::move(bytes));
  const std::string_view view = *held;
  return FileBytes(std::move(held), view);
}

Result<FileBytes> FileSystem::ReadLarge(const std::string& path, std::size_t maxBytes) {
  PAYLARK_TRY_ASSIGN(std::string read, Read(path, maxBytes));
  return FileBytes::Held(std::move(read));
}

Status FileSystem::WriteFrom(const std::string& path, const ChunkSource& source, int mode) {
  std::string bytes;
  char buffer[kWriteChunk];
  for (;;) {
    PAYLARK_TRY_ASSIGN(const std::size_t got, source(buffer));
    if (got == 0)
      return Write(path, bytes, mode);
    bytes.append(buffer, got);
  }
}

Result<std::uint64_t> FileSystem::FreeBytes(const std::string&) {
  return std::numeric_limits<std::uint64_t>::max();
}

std::unique_ptr<FolderReader> FileSystem::ReadFolder(const std::string& folder) {
  return std::make_unique<PathReader>(*this, folder);
}

std::string ParentFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string BaseName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  const bool absolute = folder.starts_with('/') || (folder.empty() && name.starts_with('/'));
  std::vector<std::string_view> parts;
  const auto take = [&parts, absolute](std::string_view text) {
    while (!text.empty()) {
      const std::size_t slash = text.find('/');
      const std::string_view part = text.substr(0, slash);
      text = slash == std::string_view::npos ? std::string_view() : text.substr(slash + 1);
      if (part.empty() || part == ".")
        continue;
      if (part == ".." && !parts.empty() && parts.back() != "..")
        parts.pop_back();
      else if (part != ".." || !absolute)
        parts.push_back(part);
    }
  };
  take(folder);
  take(name);
  std::string path = absolute ? "/" : "";
  for (const std::string_view part : parts) {
    if (!path.empty() && path.back() != '/')
      path += '/';
    path += part;
  }
  return path.empty() ? std::string(".") : path;
}

}  // namespace paylark

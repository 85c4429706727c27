#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <deque>
#include <iterator>
#include <memory>
#include <mutex>
#include <new>
#include <span>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "core/base/page_block.h"
#include "core/io/beneath_path.h"
#include "core/io/file_ring.h"
#include "core/io/file_system.h"

namespace paylark {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0)
      close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, so that a failing close is seen.
  int Close() { return close(std::exchange(fd_, -1)); }
  // Hands the descriptor on; this one closes nothing then.
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

FileInfo InfoOf(const struct stat& st, bool writable) {
  FileInfo info;
  info.kind = S_ISREG(st.st_mode)   ? FileKind::kRegular
              : S_ISDIR(st.st_mode) ? FileKind::kFolder
              : S_ISLNK(st.st_mode) ? FileKind::kLink
                                    : FileKind::kOther;
  info.size = static_cast<std::uint64_t>(st.st_size);
  info.mode = static_cast<int>(st.st_mode & 07777);
  info.writable = writable;
  const auto now = static_cast<std::int64_t>(std::time(nullptr));
  info.ageSeconds = now - st.st_mtim.tv_sec;
  info.inode = static_cast<std::uint64_t>(st.st_ino);
  info.changeTime =
      static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
  info.changeAgeSeconds = now - st.st_ctim.tv_sec;
  return info;
}

Status WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return ErrnoStatus(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return Status::Ok();
}

// Writes what the source gives until its end.
Status CopyFrom(const ChunkSource& source, int fd) {
  char buffer[std::size_t{64} * 1024];
  for (;;) {
    PAYLARK_TRY_ASSIGN(const std::size_t got, source(buffer));
    if (got == 0)
      return Status::Ok();
    PAYLARK_TRY(WriteAll(fd, std::string_view(buffer, got)));
  }
}

// Moves from onto to without replacing anything already there. Where the file system has no
// renameat2, a hard link claims the name just as atomically.
int RenameNoReplace(int fromFolder, const char* from, int toFolder, const char* to) {
  if (renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0)
    return 0;
  if (errno != EINVAL && errno != ENOSYS)
    return errno;
  if (linkat(fromFolder, from, toFolder, to, 0) == 0) {
    unlinkat(fromFolder, from, 0);
    return 0;
  }
  if (errno == EEXIST)
    return EEXIST;
  struct stat st;
  if (fstatat(toFolder, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
    return EEXIST;
  return renameat(fromFolder, from, toFolder, to) == 0 ? 0 : errno;
}

// A socket cannot be opened at all (ENXIO): like a FIFO or a device, it is no file to read.
Status NotRegular() {
  return Status::InvalidArgument("it is not a regular file");
}

// The open file's information, refused unless it is a regular file within maxBytes: a FIFO or a
// device is never read (it was opened without blocking), nor a file too large to be wanted.
Status Examine(int fd, std::size_t maxBytes, FileInfo& info) {
  struct stat st;
  if (fstat(fd, &st) != 0)
    return ErrnoStatus(errno);
  info = InfoOf(st, false);
  if (info.kind != FileKind::kRegular)
    return NotRegular();
  if (info.size > maxBytes)
    return Status::InvalidArgument("the file is too large");
  return Status::Ok();
}

// The rest of the open regular file of `expected` bytes, read straight into the result (a large
// file such as the snapshot is copied once, not twice), which has room for one byte more so that
// the end shows in the same call. A file that ends before `expected` bytes was cut short while it
// was read: that is an error, never a shorter result.
Result<std::string> ReadWhole(int fd, std::size_t expected, std::size_t maxBytes) {
  const std::size_t room =
      std::max(maxBytes, maxBytes + 1);  // one past the most, unless that wraps
  std::string bytes(std::min(expected + 1, room), '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size())
      bytes.resize(std::min(std::max(bytes.size() * 2, std::size_t{64}), room));
    const std::size_t wanted = bytes.size() - used;
    const ssize_t got = ::read(fd, bytes.data() + used, wanted);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return ErrnoStatus(errno);
    if (got == 0)
      break;
    used += static_cast<std::size_t>(got);
    if (used > maxBytes)
      return Status::InvalidArgument("the file is too large");
    // A regular file gives less than was asked for only at its end: a small record file is
    // read with one call.
    if (static_cast<std::size_t>(got) < wanted && used >= expected)
      break;
  }
  if (used < expected)
    return Status::IoError("the file ended while it was read");
  bytes.resize(used);
  return bytes;
}

// Opens without blocking on a FIFO or a device. The flag stays: only regular files are read,
// which it does not change, and a load of a million files saves two calls a file.
int OpenForReading(int folder, const char* path, int flags) {
  return openat(folder, path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags);
}

// Why the file just opened for reading may not be read; Ok for a regular file within maxBytes.
Status Opened(const Descriptor& fd, std::size_t maxBytes, FileInfo& info) {
  if (fd.get() < 0)
    return errno == ENXIO ? NotRegular() : ErrnoStatus(errno);
  return Examine(fd.get(), maxBytes, info);
}

// A file's name within its folder as the system takes it, without allocating.
struct Path {
  std::array<char, NAME_MAX + 1> text;
  // False for a name too long to be a file's.
  bool Take(std::string_view name) {
    if (name.size() > NAME_MAX)
      return false;
    name.copy(text.data(), name.size());
    text[name.size()] = '\0';
    return true;
  }
};

// Why a record file could not be opened. A symbolic link is not followed: a record file's name
// never brings in a file from elsewhere.
Status OpenFailure(int error) {
  if (error == ENXIO)
    return NotRegular();
  return error == ELOOP ? Status::InvalidArgument("it is a symbolic link") : ErrnoStatus(error);
}

class DescriptorReader final : public FolderReader {
 public:
  explicit DescriptorReader(int folder) : folder_(folder) {}
  // The open file is inspected, not the name: the information is that of the bytes read, and
  // costs no second walk to the file.
  Result<std::string> Read(std::string_view name, std::size_t maxBytes,
                           FileInfo& info) const override {
    Path path;
    if (!path.Take(name))
      return ErrnoStatus(ENAMETOOLONG);
    Descriptor fd(OpenForReading(folder_.get(), path.text.data(), O_NOFOLLOW));
    if (fd.get() < 0)
      return OpenFailure(errno);
    if (Status examined = Examine(fd.get(), maxBytes, info); !examined.ok())
      return examined;
    return ReadWhole(fd.get(), info.size, maxBytes);
  }

  bool ReadsManyAtOnce() const override {
    static const bool hasRing = FileRing::Create() != nullptr;
    return hasRing;
  }

  // Through a ring, a batch at a time: each file is opened, inspected and read as Read does.
  void ReadEach(std::span<const std::string_view> names, std::size_t maxBytes,
                const FileRead& done) const override {
    // A ring a thread, kept for the thread's next batches: setting one up costs as much as
    // reading a few dozen files.
    thread_local const std::unique_ptr<FileRing> ring = FileRing::Create();
    std::size_t start = 0;
    for (; ring && ring->usable() && start < names.size(); start += FileRing::kBatch)
      ReadBatch(*ring, names.subspan(start, std::min(FileRing::kBatch, names.size() - start)),
                start, maxBytes, done);
    // Without a ring, or with one the kernel stopped taking, the rest are read one by one.
    if (start < names.size())
      ReadAlone(names.subspan(start), start, maxBytes, done);
  }

 private:
  void ReadBatch(FileRing& ring, std::span<const std::string_view> names, std::size_t first,
                 std::size_t maxBytes, const FileRead& done) const;
  void ReadAlone(std::span<const std::string_view> names, std::size_t first, std::size_t maxBytes,
                 const FileRead& done) const {
    FolderReader::ReadEach(names, maxBytes,
                           [&](std::size_t i, Result<std::string> bytes, const FileInfo& info) {
                             done(first + i, std::move(bytes), info);
                           });
  }

  Descriptor folder_;
};

void DescriptorReader::ReadBatch(FileRing& ring, std::span<const std::string_view> names,
                                 std::size_t first, std::size_t maxBytes,
                                 const FileRead& done) const {
  const std::size_t count = names.size();
  std::array<Path, FileRing::kBatch> paths;
  std::array<const char*, FileRing::kBatch> pathStarts{};
  std::array<bool, FileRing::kBatch> fits{};
  for (std::size_t i = 0; i < count; ++i) {
    fits[i] = paths[i].Take(names[i]);
    pathStarts[i] = fits[i] ? paths[i].text.data() : "";
  }
  std::array<int, FileRing::kBatch> descriptors{};
  ring.OpenEach(folder_.get(), std::span(pathStarts).first(count),
                O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, descriptors);
  // A name too long for the system was asked for as no name at all: refused as Read refuses it.
  for (std::size_t i = 0; i < count; ++i) {
    if (!fits[i])
      descriptors[i] = -ENAMETOOLONG;
  }
  if (!ring.usable()) {
    for (std::size_t i = 0; i < count; ++i) {
      if (descriptors[i] >= 0)
        close(descriptors[i]);
    }
    ReadAlone(names, first, maxBytes, done);
    return;
  }
  // Each open file is inspected before it is read; its bytes go straight into the result, which
  // has room for one byte more so that a file grown since shows.
  std::array<FileInfo, FileRing::kBatch> infos;
  std::array<std::string, FileRing::kBatch> bytes;
  std::array<std::span<char>, FileRing::kBatch> buffers;
  for (std::size_t i = 0; i < count; ++i) {
    if (descriptors[i] < 0) {
      done(first + i, OpenFailure(-descriptors[i]), infos[i]);
      continue;
    }
    if (Status examined = Examine(descriptors[i], maxBytes, infos[i]); !examined.ok()) {
      close(std::exchange(descriptors[i], -1));
      done(first + i, examined, infos[i]);
      continue;
    }
    bytes[i].resize(infos[i].size + 1);
    buffers[i] = bytes[i];
  }
  std::array<int, FileRing::kBatch> results{};
  ring.ReadAndClose(std::span(descriptors).first(count), std::span(buffers).first(count), results);
  for (std::size_t i = 0; i < count; ++i) {
    if (descriptors[i] < 0)
      continue;
    // A file that changed size while it was read, or a read that failed, is read again alone.
    if (results[i] < 0 || static_cast<std::uint64_t>(results[i]) != infos[i].size) {
      FileInfo info;
      Result<std::string> again = Read(names[i], maxBytes, info);
      done(first + i, std::move(again), info);
      continue;
    }
    bytes[i].resize(infos[i].size);
    done(first + i, std::move(bytes[i]), infos[i]);
  }
}

// Lists a folder with each entry's information; an entry that cannot be inspected gets the
// mode -1. In a large folder the names read so far are inspected on helper threads while the
// rest are still being read: the system answers all of them side by side. Asked for names only,
// it inspects just the entries whose kind the folder does not tell (links among them).
class FolderListing {
 public:
  enum class Depth { kNames, kInspected };
  // `statFlags`: AT_SYMLINK_NOFOLLOW to tell a link as one.
  FolderListing(DIR* dir, Depth depth, int statFlags)
      : dir_(dir), folder_(dirfd(dir)), depth_(depth), statFlags_(statFlags) {}
  std::vector<FolderEntry> Run();

 private:
  static constexpr std::size_t kBatch = 512;
  static constexpr std::size_t kParallelFrom = 2048;
  static constexpr unsigned kHelpers = 3;

  // About as many entries as the folder holds, or more: room for them is reserved, untouched
  // until used, rather than grown by copying a million entries over and over.
  std::size_t EntriesAtMost() const;
  // Reads names into `batch` until it holds `limit`; false once the folder has no more.
  bool Read(std::vector<FolderEntry>& batch, std::size_t limit);
  void Inspect(std::vector<FolderEntry>& batch) const;
  // Inspects batches until every batch is taken and reading has finished.
  void Help();

  DIR* dir_;
  int folder_;
  Depth depth_;
  int statFlags_;
  std::mutex mutex_;
  std::condition_variable batchReady_;
  std::deque<std::vector<FolderEntry>> batches_;  // a deque: taken batches never move
  std::size_t taken_ = 0;
  bool finished_ = false;
};

std::vector<FolderEntry> FolderListing::Run() {
  std::vector<FolderEntry> first;
  if (depth_ == Depth::kNames) {
    try {
      first.reserve(EntriesAtMost());
      PreferHugePages(first.data(), first.capacity() * sizeof(FolderEntry));
    } catch (const std::bad_alloc&) {
      // A system that promises no memory ahead gives the room as the entries come.
    }
    Read(first, SIZE_MAX);
    Inspect(first);
    return first;
  }
  bool more = Read(first, kParallelFrom);
  if (!more) {
    Inspect(first);
    return first;
  }
  batches_.push_back(std::move(first));
  std::vector<std::jthread> helpers;
  for (unsigned i = 0; i < kHelpers; ++i) {
    // Without a thread the reading thread inspects more itself; the helpers started so far
    // must not be left waiting for a batch that never comes.
    try {
      helpers.emplace_back([this] { Help(); });
    } catch (const std::system_error&) {
      break;
    }
  }
  while (more) {
    std::vector<FolderEntry> batch;
    more = Read(batch, kBatch);
    std::lock_guard lock(mutex_);
    batches_.push_back(std::move(batch));
    batchReady_.notify_one();
  }
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
  }
  batchReady_.notify_all();
  Help();
  helpers.clear();
  std::vector<FolderEntry> entries;
  std::size_t count = 0;
  for (const auto& batch : batches_)
    count += batch.size();
  entries.reserve(count);
  for (auto& batch : batches_)
    std::move(batch.begin(), batch.end(), std::back_inserter(entries));
  return entries;
}

std::size_t FolderListing::EntriesAtMost() const {
  // A folder's size in bytes is mostly its entries' names and their headers (16 bytes or more
  // each where it is told at all); a folder larger than this bound still lists whole, only the
  // room grows.
  constexpr std::size_t kMostReserved = std::size_t{1} << 22;
  struct stat st;
  if (fstat(folder_, &st) != 0 || st.st_size <= 0)
    return 0;
  return std::min(static_cast<std::size_t>(st.st_size) / 16, kMostReserved);
}

bool FolderListing::Read(std::vector<FolderEntry>& batch, std::size_t limit) {
  while (batch.size() < limit) {
    const dirent* entry = readdir(dir_);
    if (!entry)
      return false;
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..")
      continue;
    FileInfo info;
    info.inode = entry->d_ino;
    info.inspected =
        depth_ == Depth::kInspected || !(entry->d_type == DT_REG || entry->d_type == DT_DIR);
    info.kind = entry->d_type == DT_REG   ? FileKind::kRegular
                : entry->d_type == DT_DIR ? FileKind::kFolder
                                          : FileKind::kOther;
    batch.push_back({std::string(name), info});
  }
  return true;
}

void FolderListing::Inspect(std::vector<FolderEntry>& batch) const {
  for (FolderEntry& entry : batch) {
    if (!entry.info.inspected)
      continue;
    struct stat st;
    if (fstatat(folder_, entry.name.c_str(), &st, statFlags_) == 0)
      entry.info = InfoOf(st, false);
    else
      entry.info.mode = -1;
  }
}

void FolderListing::Help() {
  for (;;) {
    std::vector<FolderEntry>* batch = nullptr;
    {
      std::unique_lock lock(mutex_);
      batchReady_.wait(lock, [this] { return taken_ < batches_.size() || finished_; });
      if (taken_ == batches_.size())
        return;
      batch = &batches_[taken_++];
    }
    Inspect(*batch);
  }
}

// Where a call finds its path: an open folder (none: the current folder) and the name within it.
struct Location {
  Descriptor folder{-1};
  const char* name = nullptr;  // the end of the path given, or "."
  bool follow = true;          // a symbolic link at the name

  int at() const { return folder.get() >= 0 ? folder.get() : AT_FDCWD; }
  // The flag that keeps a call from following a link at the name, where it must not.
  int NoFollow(int flag) const { return follow ? 0 : flag; }
};

// Why a path beneath a root could not be reached.
Status ReachFailure(int error) {
  if (error == ELOOP)
    return Status::InvalidArgument(
        "it is or passes through a symbolic link, which is not followed");
  if (error == EXDEV)
    return Status::InvalidArgument("it leads out of its folder");
  return ErrnoStatus(error);
}

// The files of the system, each call made on a Location: a whole path as the system takes it,
// or for a root's files an open folder beneath it.
class SystemFiles : public FileSystem {
 public:
  Status CreateFolder(const std::string& path) override {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(path));
    if (mkdirat(place.at(), place.name, 0777) == 0)
      return Status::Ok();
    if (errno != EEXIST)
      return ErrnoStatus(errno);
    struct stat st;
    if (!place.follow && fstatat(place.at(), place.name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(st.st_mode))
      return ReachFailure(ELOOP);
    return Status::Ok();
  }

  Result<std::vector<FolderEntry>> List(const std::string& folder) override {
    return ListFolder(folder, FolderListing::Depth::kInspected);
  }

  Result<std::vector<FolderEntry>> ListNames(const std::string& folder) override {
    return ListFolder(folder, FolderListing::Depth::kNames);
  }

  Result<FileInfo> Inspect(const std::string& path) override {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(path));
    struct stat st;
    if (fstatat(place.at(), place.name, &st, place.NoFollow(AT_SYMLINK_NOFOLLOW)) != 0)
      return ErrnoStatus(errno);
    const bool writable = !S_ISLNK(st.st_mode) && faccessat(place.at(), place.name, W_OK, 0) == 0;
    return InfoOf(st, writable);
  }

  Result<std::string> Read(const std::string& path, std::size_t maxBytes) override {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(path));
    Descriptor fd(OpenForReading(place.at(), place.name, place.NoFollow(O_NOFOLLOW)));
    if (fd.get() < 0 && !place.follow)
      return ReachFailure(errno);
    FileInfo info;
    if (Status opened = Opened(fd, maxBytes, info); !opened.ok())
      return opened;
    return ReadWhole(fd.get(), info.size, maxBytes);
  }

  Result<FileBytes> ReadLarge(const std::string& path, std::size_t maxBytes) override {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(path));
    Descriptor fd(OpenForReading(place.at(), place.name, place.NoFollow(O_NOFOLLOW)));
    if (fd.get() < 0 && !place.follow)
      return ReachFailure(errno);
    FileInfo info;
    if (Status opened = Opened(fd, maxBytes, info); !opened.ok())
      return opened;
    // A file that tells no size (as /proc's do) cannot be mapped whole: it is read.
    if (info.size == 0)
      return FileSystem::ReadLarge(path, maxBytes);
    // Not populated: a page is mapped when it is first read (with a few neighbours), so a reader
    // that lets go of what it has passed never holds the whole file. Private, so that a reader
    // may make pages its own to change (FileBytes::ChangeablePages).
    void* start = mmap(nullptr, info.size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (start == MAP_FAILED)
      return FileSystem::ReadLarge(path, maxBytes);
    const std::size_t size = info.size;
    std::shared_ptr<const void> mapping(
        start, [size](const void* at) { munmap(const_cast<void*>(at), size); });
    return FileBytes(std::move(mapping), std::string_view(static_cast<const char*>(start), size),
                     FileBytes::Storage::kMapped);
  }

  std::unique_ptr<FolderReader> ReadFolder(const std::string& folder) override {
    Result<Descriptor> fd = OpenFolder(folder);
    if (!fd.ok())
      return FileSystem::ReadFolder(folder);
    return std::make_unique<DescriptorReader>(fd.value().Release());
  }

  Status Write(const std::string& path, std::string_view bytes, int mode) override {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(path));
    Descriptor fd(
        openat(place.at(), place.name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (fd.get() < 0)
      return ErrnoStatus(errno);
    Status status = WriteAll(fd.get(), bytes);
    if (status.ok() && fchmod(fd.get(), static_cast<mode_t>(mode)) != 0)
      status = ErrnoStatus(errno);
    if (fd.Close() != 0 && status.ok())
      status = ErrnoStatus(errno);
    if (!status.ok())
      unlinkat(place.at(), place.name, 0);
    return status;
  }

  Status WriteFrom(const std::string& path, const ChunkSource& source, int mode) override {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(path));
    Descriptor fd(
        openat(place.at(), place.name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (fd.get() < 0)
      return ErrnoStatus(errno);
    Status status = CopyFrom(source, fd.get());
    if (status.ok() && fchmod(fd.get(), static_cast<mode_t>(mode)) != 0)
      status = ErrnoStatus(errno);
    if (fd.Close() != 0 && status.ok())
      status = ErrnoStatus(errno);
    if (!status.ok())
      unlinkat(place.at(), place.name, 0);
    return status;
  }

  Result<std::uint64_t> FreeBytes(const std::string& folder) override {
    PAYLARK_TRY_ASSIGN(const Descriptor fd, OpenFolder(folder));
    struct statvfs st;
    if (fstatvfs(fd.get(), &st) != 0)
      return ErrnoStatus(errno);
    return static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
  }

  Status Rename(const std::string& from, const std::string& to, Placement placement) override {
    PAYLARK_TRY_ASSIGN(const Location source, Locate(from));
    PAYLARK_TRY_ASSIGN(const Location target, Locate(to));
    if (placement == Placement::kCreateNew) {
      const int error = RenameNoReplace(source.at(), source.name, target.at(), target.name);
      return error == 0 ? Status::Ok() : ErrnoStatus(error);
    }
    return renameat(source.at(), source.name, target.at(), target.name) == 0 ? Status::Ok()
                                                                             : ErrnoStatus(errno);
  }

  Status Remove(const std::string& path) override {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(path));
    return unlinkat(place.at(), place.name, 0) == 0 ? Status::Ok() : ErrnoStatus(errno);
  }

  Status RemoveFolder(const std::string& path) override {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(path));
    return unlinkat(place.at(), place.name, AT_REMOVEDIR) == 0 ? Status::Ok() : ErrnoStatus(errno);
  }

  Status SyncData(const std::vector<std::string>& paths) override {
    if (paths.empty())
      return Status::Ok();
    PAYLARK_TRY_ASSIGN(const Location place, Locate(paths.front()));
    Descriptor fd(
        openat(place.at(), place.name, O_RDONLY | O_CLOEXEC | place.NoFollow(O_NOFOLLOW)));
    if (fd.get() < 0)
      return ErrnoStatus(errno);
    const int result = paths.size() == 1 ? fdatasync(fd.get()) : syncfs(fd.get());
    return result == 0 ? Status::Ok() : ErrnoStatus(errno);
  }

  Status SyncFolder(const std::string& folder) override {
    PAYLARK_TRY_ASSIGN(const Descriptor fd, OpenFolder(folder));
    return fsync(fd.get()) == 0 ? Status::Ok() : ErrnoStatus(errno);
  }

  std::unique_ptr<FileSystem> Beneath(const std::string& root) override;

  int ProcessId() const override { return static_cast<int>(getpid()); }

  bool ProcessRunning(int processId) const override {
    return processId > 0 && (kill(processId, 0) == 0 || errno == EPERM);
  }

  std::string ExecutablePath() const override {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
      return {};
    path.resize(static_cast<std::size_t>(length));
    return path;
  }

 protected:
  // Where the path is: here, the whole path from the current folder, links followed.
  virtual Result<Location> Locate(const std::string& path) const {
    return Location{Descriptor(-1), path.c_str(), true};
  }

 private:
  // The folder opened for reading its entries.
  Result<Descriptor> OpenFolder(const std::string& folder) const {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(folder));
    return OpenFolder(place);
  }
  static Result<Descriptor> OpenFolder(const Location& place) {
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    Descriptor fd(place.follow ? openat(place.at(), place.name, flags)
                               : OpenNoFollow(place.at(), place.name, flags));
    if (fd.get() < 0)
      return place.follow ? ErrnoStatus(errno) : ReachFailure(errno);
    return fd;
  }

  Result<std::vector<FolderEntry>> ListFolder(const std::string& folder,
                                              FolderListing::Depth depth) const {
    PAYLARK_TRY_ASSIGN(const Location place, Locate(folder));
    PAYLARK_TRY_ASSIGN(Descriptor fd, OpenFolder(place));
    std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(fd.get()), closedir);
    if (!dir)
      return ErrnoStatus(errno);
    (void)fd.Release();  // the listing closes it
    std::vector<FolderEntry> entries =
        FolderListing(dir.get(), depth, place.NoFollow(AT_SYMLINK_NOFOLLOW)).Run();
    // Entries gone meanwhile, and dangling links, are left out.
    std::erase_if(entries, [](const FolderEntry& entry) { return entry.info.mode < 0; });
    return entries;
  }
};

// The system's files with those beneath the root reached from it, never through a link.
class BeneathFiles final : public SystemFiles {
 public:
  explicit BeneathFiles(std::string root) : root_(std::move(root)) {
    while (root_.size() > 1 && root_.ends_with('/'))
      root_.pop_back();
  }

 protected:
  Result<Location> Locate(const std::string& path) const override {
    if (!path.starts_with(root_) || (path.size() > root_.size() && path[root_.size()] != '/'))
      return SystemFiles::Locate(path);
    Descriptor root(open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (root.get() < 0)
      return ErrnoStatus(errno);
    const std::size_t slash = path.rfind('/');
    const bool isRoot = slash == std::string::npos || slash < root_.size();
    const char* name = isRoot ? "." : path.c_str() + slash + 1;
    if (std::string_view(name) == ".." || *name == '\0')
      return ReachFailure(EXDEV);
    if (isRoot || slash == root_.size())
      return Location{std::move(root), name, false};
    const std::string between = path.substr(root_.size() + 1, slash - root_.size() - 1);
    Descriptor folder(OpenBeneath(root.get(), between.c_str(), O_RDONLY | O_DIRECTORY));
    if (folder.get() < 0)
      return ReachFailure(errno);
    return Location{std::move(folder), name, false};
  }

 private:
  std::string root_;
};

std::unique_ptr<FileSystem> SystemFiles::Beneath(const std::string& root) {
  return std::make_unique<BeneathFiles>(root);
}

}  // namespace

FileSystem& SystemFileSystem() {
  static SystemFiles files;
  return files;
}

}  // namespace paylark

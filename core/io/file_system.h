#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/page_block.h"
#include "core/base/status.h"

namespace paylark {

// kLink only beneath a root (FileSystem::Beneath): elsewhere a symbolic link is followed.
enum class FileKind { kRegular, kFolder, kLink, kOther };

struct FileInfo {
  FileKind kind = FileKind::kOther;
  std::uint64_t size = 0;
  int mode = 0;                 // the permission bits
  bool writable = false;        // this process may change the file; Inspect only
  std::int64_t ageSeconds = 0;  // since its contents last changed
  // The file's identity: a name whose inode number and change time (nanoseconds) are unchanged
  // still holds the same bytes, as a replacement by rename brings a new change time even when the
  // inode number is reused.
  std::uint64_t inode = 0;
  std::int64_t changeTime = 0;
  std::int64_t changeAgeSeconds = 0;  // since the inode last changed
  // False where a listing took only what the folder itself tells: the kind and the inode number.
  bool inspected = true;
};

struct FolderEntry {
  std::string name;
  FileInfo info;
};

enum class Placement { kCreateNew, kReplace };

// A file's whole bytes, held for as long as any copy of the value lives: mapped from the file by
// the system's file system, read by others.
class FileBytes {
 public:
  enum class Storage { kHeld, kMapped };

  FileBytes() = default;
  FileBytes(std::shared_ptr<const void> owner, std::string_view bytes,
            Storage storage = Storage::kHeld)
      : owner_(std::move(owner)), bytes_(bytes), storage_(storage) {}
  // Bytes already read, held by the value.
  static FileBytes Held(std::string bytes);
  std::string_view view() const { return bytes_; }
  // The bytes before `offset` will not be read again soon: a mapped file's whole pages there
  // leave memory, and a later read maps them from the file again. Held bytes stay as they are.
  void LetGoBefore(std::size_t offset) const;
  // The bytes at [offset, offset + size) as memory the caller may change, which holds the
  // mapping: pages come from the file until one is changed, and only that page is then copied.
  // The file itself never changes. An empty block where the bytes are held, not mapped, or where
  // the system will not set memory aside for the copies.
  PageBlock ChangeablePages(std::size_t offset, std::size_t size) const;

 private:
  std::shared_ptr<const void> owner_;
  std::string_view bytes_;
  Storage storage_ = Storage::kHeld;
};

// Fills `buffer` with the next bytes of a file being written: how many (0 at its end), or why
// there are none.
using ChunkSource = std::function<Result<std::size_t>(std::span<char> buffer)>;

// What reading one of many files gave: its place among them, its bytes or why they could not be
// read, and its information.
using FileRead = std::function<void(std::size_t, Result<std::string>, const FileInfo&)>;

// Reads the files of one folder by name. Several threads may read through one reader at once.
class FolderReader {
 public:
  virtual ~FolderReader() = default;
  // As FileSystem::Read of the file's whole path, except that a symbolic link is not followed
  // (kInvalidArgument); `info` describes the file that was read (also when it was too large to
  // read).
  virtual Result<std::string> Read(std::string_view name, std::size_t maxBytes,
                                   FileInfo& info) const = 0;
  // Reads each of the named files as Read does; `done` hears of each once (by its place in
  // `names`), in no particular order.
  virtual void ReadEach(std::span<const std::string_view> names, std::size_t maxBytes,
                        const FileRead& done) const;
  // Whether ReadEach has many files in flight at once by itself; where it does not, a caller
  // with many files reads them on several threads.
  virtual bool ReadsManyAtOnce() const { return false; }
};

// The disk as the record files see it (leveldb's Env): the system's, or an in-memory one for
// tests. Paths are whole paths. A failure is an IoError whose message is the system's reason,
// except that a missing path is NotFound and an existing one that may not be replaced is
// AlreadyExists.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Creates the folder itself (not its parents); an existing folder is no error.
  virtual Status CreateFolder(const std::string& path) = 0;
  // Every entry of the folder but "." and "..", in no particular order. Asking whether each may
  // be written would double the cost of listing a large folder, so `writable` stays false here.
  virtual Result<std::vector<FolderEntry>> List(const std::string& folder) = 0;
  // As List, but an entry the folder itself calls a regular file or a folder may be left
  // uninspected (FileInfo::inspected false): a million names are listed without a million
  // inspections.
  virtual Result<std::vector<FolderEntry>> ListNames(const std::string& folder) {
    return List(folder);
  }
  virtual Result<FileInfo> Inspect(const std::string& path) = 0;
  // The whole file. A file longer than maxBytes, or anything but a regular file (a FIFO, a
  // device), is not read: that is kInvalidArgument. Opening never waits for a FIFO's writer, and
  // a file that ends before the size it had when opened is an IoError, never a shorter result.
  virtual Result<std::string> Read(const std::string& path, std::size_t maxBytes) = 0;
  // As Read, without a copy where the system can map the file. Only for a file that is replaced
  // by a rename, never rewritten in place: a mapped file cut short under its reader faults it.
  virtual Result<FileBytes> ReadLarge(const std::string& path, std::size_t maxBytes);
  // A reader of the folder's files. This one reads each by its whole path; the system's opens
  // the folder once, so that a name costs no walk of the folder's path.
  virtual std::unique_ptr<FolderReader> ReadFolder(const std::string& folder);
  // Creates a new file with exactly these permission bits; never replaces anything.
  virtual Status Write(const std::string& path, std::string_view bytes, int mode) = 0;
  // As Write, with the bytes coming from `source` a piece at a time, so that a large file is
  // never held whole; a source that fails leaves no file. This one gathers the pieces and writes
  // them at once.
  virtual Status WriteFrom(const std::string& path, const ChunkSource& source, int mode);
  // How many bytes this user may still write in the folder's file system; the largest number
  // where that cannot be told.
  virtual Result<std::uint64_t> FreeBytes(const std::string& folder);
  // Moves a file. kCreateNew never replaces what is at `to` (AlreadyExists; `from` stays).
  virtual Status Rename(const std::string& from, const std::string& to, Placement placement) = 0;
  virtual Status Remove(const std::string& path) = 0;
  // Removes an empty folder; one that still holds anything stays (an IoError).
  virtual Status RemoveFolder(const std::string& path) = 0;
  // Makes the files' contents durable; for several files it may flush the whole disk at once.
  virtual Status SyncData(const std::vector<std::string>& paths) = 0;
  // Makes the folder's entries (created, renamed and removed names) durable.
  virtual Status SyncFolder(const std::string& folder) = 0;

  // Temporary file names carry their writer's process ID, so that only a writer that is gone
  // leaves files for others to remove.
  virtual int ProcessId() const = 0;
  virtual bool ProcessRunning(int processId) const = 0;
  // The same files, except that a path beneath the folder `root` is opened relative to it with no
  // symbolic link followed, on the way or at its end: a link there is listed and inspected as
  // kLink, reading it or going through it is InvalidArgument, and a rename or a removal takes the
  // link itself. Other paths are taken as this file system takes them. This one keeps no links.
  virtual std::unique_ptr<FileSystem> Beneath(const std::string& root);
  // The running program's own file, whose folder a build tree or a portable copy keeps its data
  // beside; empty where it cannot be told.
  virtual std::string ExecutablePath() const { return {}; }
};

// The operating system's file system.
FileSystem& SystemFileSystem();

// What a system call's errno value means to a caller: NotFound, AlreadyExists or an IoError with
// the system's reason. The in-memory file system fails the same way.
Status ErrnoStatus(int error);
// Whether the failure is the system's refusal to let this user read or change the path.
bool IsPermissionDenied(const Status& status);
// Creates the folder and any of its parents that are missing.
Status CreateFolders(FileSystem& files, const std::string& path);
// The permission bits of a new file: 0666 less the process's umask, as for any file the user saves.
int NewFileMode();
// The path up to its last "/": "" for a bare name.
std::string ParentFolder(const std::string& path);
// The last step of the path: the whole path when it has no "/".
std::string BaseName(std::string_view path);
// The path joined to `name` and read by its text alone: "." and empty parts dropped, ".." taking
// back the part before it (never above the root), no "/" at the end.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace paylark

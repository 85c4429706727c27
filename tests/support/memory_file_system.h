#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "core/io/file_system.h"

namespace paylark {

// A file system held in memory, for tests: it can be told to fail a given call, and it can
// play other processes (their IDs, whether they still run) and the age of files.
class MemoryFileSystem final : public FileSystem {
 public:
  // The calls that can be made to fail. Sync counts SyncData and SyncFolder together; Read counts
  // the reads of whole files, also through a folder reader.
  enum class Call { kWrite, kRename, kSync, kRemove, kRead };

  MemoryFileSystem() = default;
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

  // The nth call of that kind from now on (1: the next one) fails with the errno value.
  void FailNth(Call call, int nth, int error);
  // Every call of that kind fails from now on (a full disk, a read-only disk); 0 ends it.
  void FailAlways(Call call, int error);
  // The nth call of that kind from now on and every later one fail (FailAlways(call, 0) ends it).
  void FailFrom(Call call, int nth, int error);
  // After this many more changing calls (writes, renames, removals, flushes) succeeded, every
  // further one fails with EIO, as if the process had been killed there; -1 ends it.
  void FreezeAfter(int changes) { freezeAfter_ = changes; }
  int CallsMade(Call call) const { return calls_[Index(call)]; }

  // Puts a file in place (its folder is created too).
  void Put(const std::string& path, std::string bytes, int mode = 0644);
  // Puts something that is not a regular file in place (a FIFO, a device, a symbolic link): it is
  // listed as FileKind::kOther and never read.
  void PutOther(const std::string& path);
  // Every read of the file fails with the errno value (EACCES: a file the user may not read).
  void FailRead(const std::string& path, int error);
  // Every listing of the folder fails with the errno value.
  void FailList(const std::string& folder, int error);
  void SetAge(const std::string& path, std::int64_t seconds);
  // Files changed long ago unless told otherwise; a new or renamed file gets a new change time.
  void SetChangeAge(const std::string& path, std::int64_t seconds);
  // Gives the file another's inode number, as a file system may reuse a freed one.
  void SetInode(const std::string& path, std::uint64_t inode);
  std::uint64_t InodeOf(const std::string& path) const;
  bool Contains(const std::string& path) const { return files_.contains(path); }
  std::string Contents(const std::string& path) const;
  int ModeOf(const std::string& path) const;
  // The names in the folder, in byte order.
  std::vector<std::string> Names(const std::string& folder) const;
  void SetProcess(int processId, bool running);
  // This process's ID from now on: a test plays a process that was killed and started again.
  void SetProcessId(int processId) { processId_ = processId; }
  void SetExecutablePath(std::string path) { executablePath_ = std::move(path); }
  // What FreeBytes gives from now on, for every folder; unlimited at first.
  void SetFreeBytes(std::uint64_t bytes) { freeBytes_ = bytes; }
  // Runs at the start of every List, on the listing thread: a test holds a listing there until
  // it has seen what it waits for. Empty for none.
  void OnList(std::function<void()> hook) { onList_ = std::move(hook); }

  Status CreateFolder(const std::string& path) override;
  Result<std::vector<FolderEntry>> List(const std::string& folder) override;
  Result<FileInfo> Inspect(const std::string& path) override;
  Result<std::string> Read(const std::string& path, std::size_t maxBytes) override;
  Status Write(const std::string& path, std::string_view bytes, int mode) override;
  Result<std::uint64_t> FreeBytes(const std::string& folder) override;
  Status Rename(const std::string& from, const std::string& to, Placement placement) override;
  Status Remove(const std::string& path) override;
  Status RemoveFolder(const std::string& path) override;
  Status SyncData(const std::vector<std::string>& paths) override;
  Status SyncFolder(const std::string& folder) override;
  int ProcessId() const override { return processId_; }
  bool ProcessRunning(int processId) const override;
  std::string ExecutablePath() const override { return executablePath_; }

 private:
  struct File {
    std::string bytes;
    int mode = 0644;
    std::int64_t ageSeconds = 0;
    std::uint64_t inode = 0;
    std::int64_t changeTime = 0;
    std::int64_t changeAgeSeconds = kLongAgo;
    FileKind kind = FileKind::kRegular;
    int readError = 0;
  };
  static constexpr std::int64_t kLongAgo = 86400;

  // A new file in place: a fresh inode number and change time.
  File NewFile(std::string bytes, int mode);
  struct Fault {
    int nth = 0;  // counted down; 0: none
    int error = 0;
    int always = 0;
    bool sticky = false;  // from the nth call on
  };

  static std::size_t Index(Call call) { return static_cast<std::size_t>(call); }
  // Counts the call and gives the fault it meets, if any.
  std::optional<Status> Injected(Call call);
  bool FolderOf(const std::string& path) const;

  std::map<std::string, File> files_;
  std::set<std::string> folders_;
  std::set<int> running_;
  int processId_ = 4242;
  std::string executablePath_;
  std::uint64_t freeBytes_ = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t lastInode_ = 0;
  std::int64_t lastChange_ = 0;
  std::map<std::string, int> listErrors_;
  int freezeAfter_ = -1;
  std::mutex faultMutex_;  // folder readers read on several threads
  Fault faults_[5];
  int calls_[5] = {};
  std::function<void()> onList_;
};

}  // namespace paylark

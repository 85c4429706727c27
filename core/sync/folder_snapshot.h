#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace paylark {

// What a folder held at one moment: each regular file's size, change time and inode. A watch
// that is only told "something in the folder changed" compares two snapshots to learn which
// files to read again.
class FolderSnapshot {
 public:
  // An unreadable or missing folder gives an empty snapshot.
  static FolderSnapshot Take(const std::string& folder);

  // The names added, removed or changed between `before` and this snapshot, in byte order.
  std::vector<std::string> ChangedSince(const FolderSnapshot& before) const;
  std::size_t size() const { return files_.size(); }

 private:
  struct Stamp {
    std::int64_t size = 0;
    std::int64_t changeSeconds = 0;
    std::int64_t changeNanoseconds = 0;
    std::uint64_t inode = 0;
    bool operator==(const Stamp&) const = default;
  };
  std::map<std::string, Stamp> files_;
};

}  // namespace paylark

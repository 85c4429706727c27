#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"

namespace paylark {

// A copy of every record file's bytes with the file's identity (inode number and change time),
// kept outside the records folder, so that a start opens only the files that changed since.
// The bytes are the file's own: decoding them gives exactly what reading the file gives.
struct SnapshotEntry {
  std::string_view name;
  std::uint64_t inode = 0;
  std::int64_t changeTime = 0;
  std::string_view bytes;
};

// The identities (name, inode number, change time, size) of a folder's record files, summed in
// any order: two sums of differently mixed hashes, so that two different folders agree only by
// a chance too small to matter.
struct FolderIdentity {
  std::uint64_t count = 0;
  std::uint64_t first = 0;
  std::uint64_t second = 0;
  void Add(std::string_view name, std::uint64_t inode, std::int64_t changeTime, std::uint64_t size);
  bool operator==(const FolderIdentity&) const = default;
};

// Version 2: records may carry payment details after seriesId. A snapshot of another version is
// not read; the next load reads every record file and writes the snapshot again.
inline constexpr std::uint32_t kSnapshotVersion = 2;
// A file changed this recently may change again within the same change-time tick, so its
// identity proves nothing yet: it stays out of the snapshot and is read at the next start.
inline constexpr std::int64_t kSnapshotTrustSeconds = 2;

// The entries must be sorted by name.
std::string EncodeSnapshot(std::string_view recordsFolder, std::span<const SnapshotEntry> entries);
// Entries viewing into `bytes`, sorted by name. A snapshot of another folder, of another
// version, with a wrong checksum or any structural fault is kCorrupt.
Result<std::vector<SnapshotEntry>> DecodeSnapshot(std::string_view bytes,
                                                  std::string_view recordsFolder);

// <cacheFolder>/<16 hex digits of the records folder path's checksum>.snapshot
std::string SnapshotPathFor(std::string_view cacheFolder, std::string_view recordsFolder);

}  // namespace paylark

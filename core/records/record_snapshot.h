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

// Version 2: records may carry payment details after seriesId. Version 3: amounts beyond
// kMaxAmount are refused, so no record a snapshot kept before may be trusted. A snapshot of
// another version is not read; the next load reads every record file and writes it again.
inline constexpr std::uint32_t kSnapshotVersion = 3;
// A file changed this recently may change again within the same change-time tick, so its
// identity proves nothing yet: it stays out of the snapshot and is read at the next start.
inline constexpr std::int64_t kSnapshotTrustSeconds = 2;

// A 64-bit checksum over words of eight bytes, summed as they come: it only has to catch a torn
// or damaged file, and it must not cost much next to reading a hundred megabytes.
class SnapshotChecksum {
 public:
  explicit SnapshotChecksum(std::size_t size) : hash_(size * kMultiplier) {}
  // Adds the whole words at the start of `bytes`; gives how many bytes they take.
  std::size_t AddWords(std::string_view bytes);
  // Adds the rest, the last few bytes one by one, and gives the sum.
  std::uint64_t Finish(std::string_view rest);

 private:
  static constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash_;
};

// Reads a snapshot's entries one after another, each viewing into the snapshot's bytes: a load
// maps them without a list of them all, and the checksum is summed as they are read.
class SnapshotReader {
 public:
  // A snapshot of another folder or of another version is kCorrupt.
  static Result<SnapshotReader> Open(std::string_view bytes, std::string_view recordsFolder);

  // How many entries the snapshot holds.
  std::uint64_t size() const { return count_; }
  // The next entry, in name order; false after the last one and at a structural fault.
  bool Next(SnapshotEntry& entry);
  // kCorrupt unless every entry was read, nothing follows them and the checksum holds: what
  // was read from a reader that ends so may not be trusted.
  Status Finish() const;
  // How far into the snapshot's bytes the entries read so far reach.
  std::size_t BytesRead() const { return start_ + pos_; }

 private:
  SnapshotReader(std::string_view bytes, std::size_t start)
      : bytes_(bytes), start_(start), checksum_(bytes.size()) {}

  // Little-endian; once a read runs past the end, every later read fails too.
  template <class T>
  bool Take(T& value) {
    if (bytes_.size() - pos_ < sizeof(T))
      return Fail();
    std::uint64_t raw = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
      raw |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    value = static_cast<T>(raw);
    pos_ += sizeof(T);
    return true;
  }
  bool TakeText(std::string_view& text);
  bool Fail();

  std::string_view bytes_;
  std::size_t start_ = 0;  // where bytes_ begins in the snapshot
  std::size_t pos_ = 0;
  SnapshotChecksum checksum_;
  std::size_t hashed_ = 0;  // the bytes summed so far
  std::uint64_t expected_ = 0;
  bool ok_ = true;
  std::uint64_t count_ = 0;
  std::uint64_t taken_ = 0;
  std::string_view lastName_;
};

// The entries must be sorted by name.
std::string EncodeSnapshot(std::string_view recordsFolder, std::span<const SnapshotEntry> entries);
// Entries viewing into `bytes`, sorted by name. A snapshot of another folder, of another
// version, with a wrong checksum or any structural fault is kCorrupt.
Result<std::vector<SnapshotEntry>> DecodeSnapshot(std::string_view bytes,
                                                  std::string_view recordsFolder);

// <cacheFolder>/<16 hex digits of the records folder path's checksum>.snapshot
std::string SnapshotPathFor(std::string_view cacheFolder, std::string_view recordsFolder);

}  // namespace paylark

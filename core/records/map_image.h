#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/base/page_block.h"
#include "core/base/status.h"
#include "core/io/file_system.h"
#include "core/records/record_snapshot.h"

namespace paylark {

// The record map's memory as it lies, written beside the snapshot after a load, so that a start
// copies the map back in one pass instead of decoding and packing every record again. It is a
// cache of this build's own layout: an image of another version or layout is not read, and
// deleting it is always safe.
inline constexpr std::uint32_t kMapImageVersion = 2;

// A checksum fed bytes in pieces of any size: whole words are summed as they come, and the bytes
// of a word split between two pieces wait for the rest.
class RunningChecksum {
 public:
  explicit RunningChecksum(std::size_t size) : sum_(size) {}
  void Add(std::string_view bytes);
  std::uint64_t Finish() const;

 private:
  SnapshotChecksum sum_;
  std::string carry_;
};

// Fills `out` with the bytes that stand at `offset` of a part made as it is written.
using ImagePartFill = std::function<void(std::size_t offset, std::span<char> out)>;

// Gathers an image's parts: small values copied as they come, large tables viewed where they lie
// or made as they are written, from what must not change until the image is written.
class MapImageWriter {
 public:
  template <class T>
  void Put(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    Copy(std::string_view(reinterpret_cast<const char*>(&value), sizeof value));
  }
  void PutText(std::string_view text);
  // The bytes are viewed, not copied.
  void PutView(const void* bytes, std::size_t size);
  void PutMade(std::size_t size, ImagePartFill fill);
  // What comes next starts on a page of the file, so that a reader may map it as a block.
  void AlignToPage();

  // Writes the image to a new file at `path` (never replacing one), a piece at a time.
  [[nodiscard]] Status WriteTo(FileSystem& files, const std::string& path) const;

 private:
  struct Part {
    std::string_view view;
    std::size_t size = 0;
    ImagePartFill fill;  // set when the part is made as it is written
  };
  void Copy(std::string_view bytes);

  std::deque<std::string> copies_;  // the small values; never move
  std::vector<Part> parts_;
  std::size_t size_ = 0;
  bool lastIsCopy_ = false;  // small values go on into the last copy
};

// Reads an image's values in the order they were put, summing the checksum as it goes: what was
// read may be trusted only once Finish says so.
class MapImageReader {
 public:
  // Not an image of this version: kCorrupt. The file's pages that the reading has passed leave
  // memory as it goes, so that the copies grow while they go; the file must outlive the reader.
  static Result<MapImageReader> Open(const FileBytes& file);

  template <class T>
  [[nodiscard]] bool Take(T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    return TakeInto(&value, sizeof value);
  }
  [[nodiscard]] bool TakeText(std::string& text);
  // Copies the next `size` bytes to `out`.
  [[nodiscard]] bool TakeInto(void* out, std::size_t size);
  // The next `size` bytes, which an AlignToPage put on a page, as a block of the caller's: the
  // file's own pages where it is mapped (copied only where they are changed), otherwise a copy.
  // The reading lets go of the pages it passed (they come back from the file when read), so a
  // block must not be changed before the reading ends.
  [[nodiscard]] bool TakeBlock(std::size_t size, PageBlock& block);
  // A count of items of at least `leastBytes` each: more than the rest can hold is damage.
  [[nodiscard]] bool TakeCount(std::uint64_t& count, std::size_t leastBytes);
  // kCorrupt unless every byte was read and the checksum holds.
  [[nodiscard]] Status Finish() const;

 private:
  MapImageReader(const FileBytes& file, std::string_view payload)
      : file_(&file), payload_(payload), sum_(payload.size()) {}
  bool Fail();
  // Sums the next `size` bytes a piece at a time, each copied to `copy` first unless it is null.
  void Pass(std::size_t size, char* copy);

  const FileBytes* file_;
  std::string_view payload_;
  std::size_t pos_ = 0;
  RunningChecksum sum_;
  std::uint64_t expected_ = 0;
  bool ok_ = true;
};

}  // namespace paylark

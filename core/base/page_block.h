#pragma once

#include <cstddef>
#include <memory>
#include <utility>

namespace paylark {

// Zeroed memory for a large table, taken from the system in whole pages and on huge pages where
// it gives them: a table of a million records then costs a few page faults, not tens of
// thousands, and random look-ups into it miss the address cache less. Only what is touched
// becomes resident.
class PageBlock {
 public:
  // The system's huge page: blocks of this size are aligned to it.
  static constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

  // Huge pages pay only in a block that fills: the first touch of one zeroes 2 MiB and keeps
  // them resident, so a table's first block, all a small store ever uses, takes ordinary ones.
  enum class Pages { kHuge, kOrdinary };

  PageBlock() = default;
  // Throws std::bad_alloc when the system has no room.
  explicit PageBlock(std::size_t bytes, Pages pages = Pages::kHuge);
  // Memory of another's making at [data, data + bytes), writable and of this block alone, such as
  // a file mapped copy-on-write; `owner` keeps it for as long as the block lives.
  PageBlock(void* data, std::size_t bytes, std::shared_ptr<const void> owner)
      : data_(data), size_(bytes), owner_(std::move(owner)) {}
  PageBlock(PageBlock&& other) noexcept;
  PageBlock& operator=(PageBlock&& other) noexcept;
  PageBlock(const PageBlock&) = delete;
  PageBlock& operator=(const PageBlock&) = delete;
  ~PageBlock();

  void* data() const { return data_; }
  std::size_t size() const { return size_; }
  // What keeps memory of another's making; null for the block's own.
  const std::shared_ptr<const void>& owner() const { return owner_; }

 private:
  void* data_ = nullptr;
  std::size_t size_ = 0;
  std::shared_ptr<const void> owner_;  // set when the memory is not the block's own mapping
};

// Maps the pages at [start, start + bytes) now, as a first read of each would: for a thread of
// its own ahead of one that reads them all. Written pages stay as they are.
void BringIntoMemory(const void* start, std::size_t bytes);

// Asks for huge pages under the whole ones within the caller's own memory at [start, start +
// bytes), such as a large list's room reserved before it is filled: only advice, as for a block.
void PreferHugePages(void* start, std::size_t bytes);

}  // namespace paylark

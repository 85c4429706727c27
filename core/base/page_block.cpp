#include "core/base/page_block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>
#include <utility>

namespace paylark {

PageBlock::PageBlock(std::size_t bytes, Pages pages) {
  constexpr std::size_t kPageBytes = 4096;
  if (bytes == 0)
    return;
  bytes = (bytes + kPageBytes - 1) & ~(kPageBytes - 1);
  size_ = bytes;
  // Mapped larger by one huge page, then trimmed to an aligned start: a huge page can only back
  // an aligned range.
  const std::size_t mapped = bytes + kHugePageBytes;
  void* start = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (start == MAP_FAILED)
    throw std::bad_alloc();
  char* const mappedStart = static_cast<char*>(start);
  const std::size_t before =
      (kHugePageBytes - reinterpret_cast<std::uintptr_t>(start) % kHugePageBytes) % kHugePageBytes;
  char* const aligned = mappedStart + before;
  if (before > 0)
    munmap(mappedStart, before);
  if (const std::size_t after = mapped - before - bytes; after > 0)
    munmap(aligned + bytes, after);
  data_ = aligned;
  // Only advice: without huge pages the block is made of ordinary ones.
  if (pages == Pages::kHuge)
    (void)madvise(data_, bytes, MADV_HUGEPAGE);
}

PageBlock::PageBlock(PageBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      owner_(std::move(other.owner_)) {}

PageBlock& PageBlock::operator=(PageBlock&& other) noexcept {
  if (this != &other) {
    PageBlock gone(std::move(*this));
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    owner_ = std::move(other.owner_);
  }
  return *this;
}

PageBlock::~PageBlock() {
  if (data_ && !owner_)
    munmap(data_, size_);
}

void BringIntoMemory(const void* start, std::size_t bytes) {
  if (bytes == 0)
    return;
  const auto pageBytes = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const auto* first = static_cast<const char*>(start);
  const std::size_t before = reinterpret_cast<std::uintptr_t>(first) % pageBytes;
  if (madvise(const_cast<char*>(first - before), bytes + before, MADV_POPULATE_READ) == 0 ||
      errno != EINVAL)
    return;
  // A kernel older than 5.14 does not know the advice: a read in each page does the same.
  const auto* bytesAt = static_cast<const volatile char*>(start);
  for (std::size_t offset = 0; offset < bytes; offset += pageBytes)
    (void)bytesAt[offset];
  (void)bytesAt[bytes - 1];
}

void PreferHugePages(void* start, std::size_t bytes) {
  constexpr std::size_t kHuge = PageBlock::kHugePageBytes;
  const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(start) % kHuge;
  const std::size_t skipped = misalignment == 0 ? 0 : kHuge - misalignment;
  if (skipped >= bytes)
    return;
  const std::size_t whole = (bytes - skipped) / kHuge * kHuge;
  if (whole > 0)
    (void)madvise(static_cast<char*>(start) + skipped, whole, MADV_HUGEPAGE);
}

}  // namespace paylark

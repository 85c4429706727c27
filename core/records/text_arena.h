#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/base/page_block.h"
#include "core/records/map_image.h"

namespace paylark {

// Bytes handed out from large chunks and given back only all at once: the texts of a million
// records cost their own size instead of one heap block each. A place in the arena is a 32-bit
// offset, half the size of a pointer, so that the arena holds at most 4 GiB.
class TextArena {
 public:
  struct Span {
    char* bytes;
    std::uint32_t offset;
  };

  // Whether Allocate(size) finds room: the 4 GiB may be taken.
  bool HasRoomFor(std::size_t size) const {
    return chunks_.size() + ChunksTakenBy(size) <= kMostChunks;
  }
  // Room for `size` bytes that stays until Clear. Only for a size HasRoomFor accepts: the arena
  // never hands out a place it cannot address.
  Span Allocate(std::size_t size);
  const char* At(std::uint32_t offset) const {
    return static_cast<const char*>(chunks_[offset >> kChunkShift].data()) +
           (offset & (kChunkBytes - 1));
  }
  void Clear();

  // The chunks as they lie, the current one only as far as it is used.
  void WriteImage(MapImageWriter& image) const;
  // Replaces the arena's texts by the image's; false for a damaged image, the arena then empty.
  [[nodiscard]] bool ReadImage(MapImageReader& image);

 private:
  static constexpr std::uint32_t kChunkShift = 21;
  static constexpr std::size_t kChunkBytes = std::size_t{1} << kChunkShift;
  static_assert(kChunkBytes == PageBlock::kHugePageBytes);
  static constexpr std::size_t kMostChunks = std::size_t{1} << (32 - kChunkShift);

  // Chunk n holds the offsets from n << kChunkShift on; a block larger than a chunk takes the
  // numbers of as many chunks as it spans, the later ones left empty.
  // The chunks Allocate(size) adds: none while the current one has room.
  std::size_t ChunksTakenBy(std::size_t size) const;

  std::vector<PageBlock> chunks_;
  std::size_t current_ = 0;  // the chunk small texts go to
  std::size_t used_ = kChunkBytes;
};

}  // namespace paylark

#include "core/records/text_arena.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace paylark {

std::size_t TextArena::ChunksTakenBy(std::size_t size) const {
  // A text longer than a quarter chunk gets a block of its own; the current chunk stays in use.
  if (size > kChunkBytes / 4)
    return (size + kChunkBytes - 1) / kChunkBytes;
  return chunks_.empty() || size > kChunkBytes - used_ ? 1 : 0;
}

TextArena::Span TextArena::Allocate(std::size_t size) {
  const std::size_t spanned = ChunksTakenBy(size);
  if (chunks_.size() + spanned > kMostChunks)
    std::abort();  // every caller asks HasRoomFor first
  const bool ownBlock = size > kChunkBytes / 4;
  if (spanned > 0) {
    const std::size_t first = chunks_.size();
    // The first chunk, all a small store uses, asks for huge pages once the arena grows.
    if (first == 1)
      PreferHugePages(chunks_.front().data(), chunks_.front().size());
    chunks_.emplace_back(ownBlock ? size : kChunkBytes,
                         first == 0 ? PageBlock::Pages::kOrdinary : PageBlock::Pages::kHuge);
    chunks_.resize(first + spanned);
    if (ownBlock)
      return {static_cast<char*>(chunks_[first].data()),
              static_cast<std::uint32_t>(first << kChunkShift)};
    current_ = first;
    used_ = 0;
  }
  const auto offset = static_cast<std::uint32_t>((current_ << kChunkShift) + used_);
  char* bytes = static_cast<char*>(chunks_[current_].data()) + used_;
  used_ += size;
  return {bytes, offset};
}

void TextArena::WriteImage(MapImageWriter& image) const {
  image.Put<std::uint64_t>(chunks_.size());
  image.Put<std::uint64_t>(current_);
  image.Put<std::uint64_t>(used_);
  for (std::size_t chunk = 0; chunk < chunks_.size(); ++chunk) {
    // The current chunk is written only as far as it is used.
    const std::size_t size = std::min(chunk == current_ ? used_ : SIZE_MAX, chunks_[chunk].size());
    image.Put<std::uint64_t>(chunks_[chunk].size());
    image.Put<std::uint64_t>(size);
    image.PutView(chunks_[chunk].data(), size);
  }
}

bool TextArena::ReadImage(MapImageReader& image) {
  Clear();
  std::uint64_t count = 0;
  std::uint64_t current = 0;
  std::uint64_t used = 0;
  if (!image.TakeCount(count, 16) || count > kMostChunks || !image.Take(current) ||
      !image.Take(used) || (count > 0 && (current >= count || used > kChunkBytes)))
    return false;
  chunks_.reserve(count);
  for (std::uint64_t chunk = 0; chunk < count; ++chunk) {
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    // A block spans chunk numbers the arena has.
    if (!image.Take(size) || !image.Take(written) || written > size ||
        size > (count - chunk) * kChunkBytes) {
      Clear();
      return false;
    }
    if (size == 0) {
      chunks_.emplace_back();
      continue;
    }
    chunks_.emplace_back(
        size, chunk == 0 && count == 1 ? PageBlock::Pages::kOrdinary : PageBlock::Pages::kHuge);
    if (!image.TakeInto(chunks_.back().data(), written)) {
      Clear();
      return false;
    }
  }
  current_ = current;
  used_ = count > 0 ? used : kChunkBytes;
  return true;
}

void TextArena::Clear() {
  chunks_.clear();
  current_ = 0;
  used_ = kChunkBytes;
}

}  // namespace paylark

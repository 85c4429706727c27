#include "core/records/text_arena.h"

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

void TextArena::Clear() {
  chunks_.clear();
  current_ = 0;
  used_ = kChunkBytes;
}

}  // namespace paylark

#include "core/records/text_arena.h"

#include <stdexcept>

namespace paylark {

TextArena::Span TextArena::Allocate(std::size_t size) {
  // A text longer than a quarter chunk gets a block of its own; the current chunk stays in use.
  const bool ownBlock = size > kChunkBytes / 4;
  if (ownBlock || chunks_.empty() || size > kChunkBytes - used_) {
    const std::size_t spanned = ownBlock ? (size + kChunkBytes - 1) / kChunkBytes : 1;
    if (chunks_.size() + spanned > kMostChunks)
      throw std::length_error("the record texts take more than 4 GiB");
    const std::size_t first = chunks_.size();
    chunks_.emplace_back(ownBlock ? size : kChunkBytes);
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

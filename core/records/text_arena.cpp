#include "core/records/text_arena.h"

namespace paylark {

char* TextArena::Allocate(std::size_t size) {
  if (size > left_) {
    // A text longer than a chunk gets a chunk of its own; the current one stays in use.
    if (size > kChunkBytes / 4) {
      chunks_.push_back(std::make_unique_for_overwrite<char[]>(size));
      return chunks_.back().get();
    }
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(kChunkBytes));
    next_ = chunks_.back().get();
    left_ = kChunkBytes;
  }
  char* bytes = next_;
  next_ += size;
  left_ -= size;
  return bytes;
}

void TextArena::Clear() {
  chunks_.clear();
  next_ = nullptr;
  left_ = 0;
}

}  // namespace paylark

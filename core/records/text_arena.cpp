#include "core/records/text_arena.h"

namespace paylark {

char* TextArena::Allocate(std::size_t size) {
  if (size > left_) {
    // A text longer than a quarter chunk gets a block of its own; the current chunk stays in use.
    if (size > kChunkBytes / 4) {
      chunks_.emplace_back(size);
      return static_cast<char*>(chunks_.back().data());
    }
    chunks_.emplace_back(kChunkBytes);
    next_ = static_cast<char*>(chunks_.back().data());
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

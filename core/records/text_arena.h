#pragma once

#include <cstddef>
#include <vector>

#include "core/base/page_block.h"

namespace paylark {

// Bytes handed out from large chunks and given back only all at once: the texts of a million
// records cost their own size instead of one heap block each.
class TextArena {
 public:
  // Room for `size` bytes that stays until Clear.
  char* Allocate(std::size_t size);
  void Clear();

 private:
  static constexpr std::size_t kChunkBytes = PageBlock::kHugePageBytes;

  std::vector<PageBlock> chunks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
};

}  // namespace paylark

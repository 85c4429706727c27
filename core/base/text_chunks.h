#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace paylark {

// Copies of many short texts in a few heap chunks that never move: a view of a copy lasts as long
// as the store, which may itself be moved. For a result that lists tens of thousands of texts,
// where a heap block for each would cost more than making the list.
class TextChunks {
 public:
  std::string_view Add(std::string_view text);

 private:
  // Small enough to come from the heap's free lists again once freed, rather than from fresh
  // pages of the system.
  static constexpr std::size_t kChunkBytes = std::size_t{64} << 10;

  std::vector<std::unique_ptr<char[]>> chunks_;
  std::size_t used_ = kChunkBytes;  // of the last chunk
};

}  // namespace paylark

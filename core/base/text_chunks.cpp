#include "core/base/text_chunks.h"

#include <cstring>

namespace paylark {

std::string_view TextChunks::Add(std::string_view text) {
  if (text.empty())
    return {};
  // A text longer than a chunk gets one of its own, placed before the one being filled.
  if (text.size() > kChunkBytes) {
    auto& own = *chunks_.emplace(chunks_.empty() ? chunks_.end() : chunks_.end() - 1,
                                 std::make_unique_for_overwrite<char[]>(text.size()));
    std::memcpy(own.get(), text.data(), text.size());
    return {own.get(), text.size()};
  }
  if (chunks_.empty() || text.size() > kChunkBytes - used_) {
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(kChunkBytes));
    used_ = 0;
  }
  char* copy = chunks_.back().get() + used_;
  std::memcpy(copy, text.data(), text.size());
  used_ += text.size();
  return {copy, text.size()};
}

}  // namespace paylark

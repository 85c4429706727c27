#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace paylark {

// Hashes std::string keys and the views that look them up alike, so that an unordered container
// declared with it and std::equal_to<> finds a key by a view without a copy.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};

}  // namespace paylark

#pragma once

#include <cstddef>
#include <string_view>

namespace paylark {

// No statement nests its aggregates this deep (an investment transaction's security reaches
// about ten); LibOFX takes time with the square of the depth, so deeper files are refused first.
inline constexpr std::size_t kOfxNestingLimit = 32;

// How deeply the OFX aggregates of the bytes nest, counted up to one past `limit` and no
// further, in one pass. An aggregate is a start tag whose content begins with another start tag;
// a start tag followed by text is an element (closed or not, as SGML allows) and adds no depth.
// A comment or instruction first counts as a start tag, so it cannot hide an aggregate.
std::size_t OfxNestingDepth(std::string_view bytes, std::size_t limit);

}  // namespace paylark

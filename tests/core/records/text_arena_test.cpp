#include "core/records/text_arena.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace paylark {
namespace {

std::string Pattern(std::size_t size, char first) {
  std::string text(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    text[i] = static_cast<char>(first + i % 23);
  return text;
}

// Texts are found again by their offsets across many chunks; one longer than a quarter chunk, or
// than a whole chunk, gets a block of its own while small ones go on filling the current chunk.
TEST(TextArenaTest, OffsetsFindEveryTextAcrossChunksAndOwnBlocks) {
  TextArena arena;
  std::vector<std::pair<std::uint32_t, std::string>> held;
  const auto put = [&](std::string text) {
    const TextArena::Span span = arena.Allocate(text.size());
    std::memcpy(span.bytes, text.data(), text.size());
    EXPECT_EQ(arena.At(span.offset), span.bytes);
    held.emplace_back(span.offset, std::move(text));
    return span.offset;
  };
  const std::uint32_t first = put(Pattern(100, 'a'));
  EXPECT_EQ(first, 0u);
  for (int i = 0; i < 5000; ++i)
    put(Pattern(1000 + i % 7, static_cast<char>('a' + i % 20)));
  const std::uint32_t beforeLarge = put(Pattern(10, 'x'));
  const std::uint32_t large = put(Pattern(600'000, 'L'));
  const std::uint32_t afterLarge = put(Pattern(10, 'y'));
  EXPECT_EQ(afterLarge, beforeLarge + 10);  // the current chunk stays in use
  EXPECT_EQ(large % (2u << 20), 0u);
  const std::uint32_t huge = put(Pattern(5u << 20, 'H'));  // spans three chunk numbers
  const std::uint32_t next = put(Pattern(3u << 20 >> 2, 'n'));
  EXPECT_GE(next, huge + (6u << 20));
  for (const auto& [offset, text] : held)
    ASSERT_EQ(std::string(arena.At(offset), text.size()), text) << offset;

  arena.Clear();
  EXPECT_EQ(arena.Allocate(1).offset, 0u);
}

// Offsets address 4 GiB: the arena tells when a text no longer fits, as a text that fits the
// current chunk still does when no new chunk would.
TEST(TextArenaTest, ItTellsWhenATextNoLongerFits) {
  constexpr std::size_t kChunk = std::size_t{2} << 20;
  TextArena arena;
  (void)arena.Allocate((std::size_t{4} << 30) - 2 * kChunk);  // mapped, never touched
  EXPECT_TRUE(arena.HasRoomFor(2 * kChunk));
  EXPECT_FALSE(arena.HasRoomFor(2 * kChunk + 1));
  (void)arena.Allocate(10);
  EXPECT_TRUE(arena.HasRoomFor(kChunk));
  EXPECT_FALSE(arena.HasRoomFor(kChunk + 1));
  (void)arena.Allocate(kChunk);
  EXPECT_TRUE(arena.HasRoomFor(100));
  EXPECT_FALSE(arena.HasRoomFor(kChunk / 4 + 1));
  EXPECT_FALSE(arena.HasRoomFor(kChunk - 5));
}

}  // namespace
}  // namespace paylark

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/text_chunks.h"

namespace paylark {
namespace {

// Views handed out keep their bytes however many chunks follow, when a text outgrows a chunk,
// and when the store is moved.
TEST(TextChunksTest, ViewsOutliveGrowthAndMoves) {
  TextChunks texts;
  std::vector<std::pair<std::string_view, std::string>> kept;
  const std::string huge(100'000, 'x');
  for (int i = 0; i < 20'000; ++i) {
    const std::string text = i == 7'000 ? huge : "text " + std::to_string(i);
    kept.emplace_back(texts.Add(text), text);
  }
  EXPECT_TRUE(texts.Add("").empty());
  const TextChunks moved = std::move(texts);
  for (const auto& [view, text] : kept)
    ASSERT_EQ(view, text);
}

}  // namespace
}  // namespace paylark

#include "core/records/due_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace paylark {
namespace {

DueRecord Titled(const std::string& title) {
  DueRecord record;
  record.title = title;
  return record;
}

std::vector<std::string> MapOrder(const DueMap& map) {
  std::vector<std::string> ids;
  map.ForEach([&](const DueRecord& record) { ids.push_back(record.recordId); });
  return ids;
}

TEST(DueMapTest, HashIsTimes33PlusByteInUnsigned32Bits) {
  EXPECT_EQ(DueMap::Hash(""), 0u);
  EXPECT_EQ(DueMap::Hash("a"), 97u);
  EXPECT_EQ(DueMap::Hash("ab"), 97u * 33 + 98);
  EXPECT_EQ(DueMap::Hash("2007021014302510") % 17, 6u);  // wraps past 2^32
}

TEST(DueMapTest, IteratesBucketsInOrderAndEachChainFromItsNewestEntry) {
  DueMap map;
  // "a" (97) and "r" (114) share bucket 12; "b" (98) is in bucket 13; "q" (113) in 11.
  for (const char* id : {"a", "b", "r", "q"})
    map.Set(id, Titled(id));
  EXPECT_EQ(MapOrder(map), (std::vector<std::string>{"q", "r", "a", "b"}));

  map.Set("a", Titled("newer"));  // replacing keeps the entry where it is
  EXPECT_EQ(MapOrder(map), (std::vector<std::string>{"q", "r", "a", "b"}));
  EXPECT_EQ(map.Find("a")->title, "newer");
  EXPECT_EQ(map.size(), 4u);

  map.Remove("r");
  map.Remove("absent");
  map.Set("r", Titled("r"));  // re-inserted at its chain's head again
  EXPECT_EQ(MapOrder(map), (std::vector<std::string>{"q", "r", "a", "b"}));
  map.Remove("a");
  EXPECT_EQ(MapOrder(map), (std::vector<std::string>{"q", "r", "b"}));
  EXPECT_EQ(map.Find("a"), nullptr);
}

TEST(DueMapTest, KeysCompareByteWise) {
  DueMap map;
  map.Set("ID", Titled("upper"));
  map.Set("id", Titled("lower"));
  EXPECT_EQ(map.size(), 2u);
  EXPECT_EQ(map.Find("ID")->title, "upper");
  map.Clear();
  EXPECT_TRUE(map.empty());
}

}  // namespace
}  // namespace paylark

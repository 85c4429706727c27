#include "core/statements/ofx_nesting.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/statements/statement_samples.h"

namespace paylark {
namespace {

std::string Nested(std::string_view tag, int depth, std::string_view inner) {
  std::string bytes = "<OFX>";
  for (int level = 0; level < depth; ++level)
    bytes.append("<").append(tag).append(">");
  bytes.append(inner);
  for (int level = 0; level < depth; ++level)
    bytes.append("</").append(tag).append(">");
  return bytes + "</OFX>";
}

TEST(OfxNestingTest, CountsAggregatesNotElements) {
  struct Case {
    std::string bytes;
    std::size_t depth;
  };
  const Case cases[] = {
      {"<OFX></OFX>", 0},
      {"<OFX><A>1</OFX>", 1},
      {"<OFX><A><B>1<C>2</A></OFX>", 2},
      {"<OFX>\r\n <A>\r\n  <B>1</B>\r\n </A>\r\n</OFX>", 2},
      {"<?xml version=\"1.0\"?><?OFX OFXHEADER=\"200\"?><OFX><!-- c --><A></A></OFX>", 1},
      {"<OFX><A><B><C>1</B><D><E>2</D></A></OFX>", 3},
      {Nested("STMTRS", 5, "<TRNAMT>1"), 6},
  };
  for (const Case& item : cases)
    EXPECT_EQ(OfxNestingDepth(item.bytes, kOfxNestingLimit), item.depth) << item.bytes;
}

TEST(OfxNestingTest, SamplesStayFarBelowTheLimit) {
  for (const std::string sample : {"ofx1_checking.ofx", "ofx2_savings.ofx", "card.qfx"})
    EXPECT_LT(OfxNestingDepth(SampleBytes(sample), kOfxNestingLimit), 10u) << sample;
}

TEST(OfxNestingTest, StopsCountingPastTheLimit) {
  EXPECT_EQ(OfxNestingDepth(Nested("STMTRS", 10000, "x"), kOfxNestingLimit), kOfxNestingLimit + 1);
  EXPECT_EQ(OfxNestingDepth(Nested("STMTRS", 32, "x"), kOfxNestingLimit), kOfxNestingLimit);
}

}  // namespace
}  // namespace paylark

// Amounts beyond what cents hold: refused where they come in, and sums that never wrap round.
#include "core/base/amount_limit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/base/amount_sum.h"
#include "core/base/field_parsing.h"

namespace paylark {
namespace {

constexpr Cents kFarthest = std::numeric_limits<Cents>::max();

TEST(AmountLimitTest, TheEditorsCheckKeepsTenTrillionAndNoMore) {
  EXPECT_EQ(std::get<double>(ParseAmount("10000000000000")), 1e13);
  EXPECT_EQ(std::get<double>(ParseAmount(" 9999999999999.99 ")), 9999999999999.99);
  for (const char* text : {"10000000000000.01", "5e16", "1e300"}) {
    const auto parsed = ParseAmount(text);
    ASSERT_TRUE(std::holds_alternative<Message>(parsed)) << text;
    EXPECT_EQ(MessageText(std::get<Message>(parsed)),
              "Please enter a number between 0 and 10,000,000,000,000.")
        << text;
  }
  EXPECT_TRUE(AmountWithinLimit(-1e13));
  EXPECT_FALSE(AmountWithinLimit(-1e13 - 0.01));
  EXPECT_FALSE(AmountWithinLimit(std::nan("")));
  EXPECT_TRUE(CentsWithinLimit(-kMaxAmountCents));
  EXPECT_FALSE(CentsWithinLimit(kMaxAmountCents + 1));
}

// OFX once gave -1e300, which came out as -92,233,720,368,547,760.00.
TEST(AmountLimitTest, CentsOfAnyDoubleAreDefinedAndRefusedBeyondTheLimit) {
  EXPECT_EQ(ToCents(-84.375), -8438);
  EXPECT_EQ(ToCents(1e13), kMaxAmountCents);
  EXPECT_EQ(ToCents(1e300), kFarthest);
  EXPECT_EQ(ToCents(-1e300), -kFarthest);
  EXPECT_EQ(ToCents(std::nan("")), -kFarthest);
  EXPECT_EQ(ToCents(-std::numeric_limits<double>::infinity()), -kFarthest);
  EXPECT_FALSE(CentsWithinLimit(ToCents(-1e300)));
}

TEST(AmountLimitTest, SumsStayAtTheFarthestCentsInsteadOfWrapping) {
  EXPECT_EQ(AddCents(kFarthest - 1, 1), kFarthest);
  EXPECT_EQ(AddCents(kFarthest, 1), kFarthest);
  EXPECT_EQ(AddCents(-kFarthest, -1), -kFarthest);
  EXPECT_EQ(AddCents(kFarthest, -kFarthest), 0);
  // Two dues of 5e16 in the Unpaid sum.
  AmountSum unpaid;
  unpaid.Add(ToCents(5e16));
  unpaid.Add(ToCents(5e16));
  EXPECT_EQ(unpaid.cents(), kFarthest);
  AmountSum debts;
  debts.Add(ToCents(-5e16));
  EXPECT_EQ((debts + debts).cents(), -kFarthest);
  AmountSum plain;
  plain.Add(ToCents(0.1));
  plain.Add(ToCents(0.2));
  EXPECT_EQ(plain.cents(), 30);
}

}  // namespace
}  // namespace paylark

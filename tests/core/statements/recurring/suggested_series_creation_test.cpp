#include "core/statements/recurring/suggested_series_creation.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "core/statements/statement_matching.h"
#include "tests/core/statements/household_year.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;
using testing::Day;
using testing::HouseholdYear;

class SuggestedSeriesCreationTest : public ::testing::Test {
 protected:
  SeriesSuggestion Find(const std::string& payTo) {
    for (SeriesSuggestion& suggestion : SuggestSeries({statement_}, dues_.map()).suggestions) {
      if (suggestion.payTo == payTo)
        return suggestion;
    }
    ADD_FAILURE() << "no suggestion for " << payTo;
    return {};
  }

  std::vector<DueRecord> Members(const std::string& seriesId) {
    std::vector<DueRecord> members;
    for (const std::string& id : dues_.store().records().SeriesMembers(seriesId))
      members.push_back(dues_.store().Get(id));
    std::sort(members.begin(), members.end(),
              [](const DueRecord& a, const DueRecord& b) { return a.dueDate < b.dueDate; });
    return members;
  }

  Statement statement_ = HouseholdYear();
  testing::StatementDues dues_;
};

TEST_F(SuggestedSeriesCreationTest, TheSeriesStartsWhereTheHistoryEndsWithItsPastPaid) {
  const auto created =
      CreateSuggestedSeries(Find("Harbour Lettings Ltd"), 12, dues_.store(), dues_.clock());
  ASSERT_TRUE(created.ok()) << created.status().message();
  EXPECT_EQ(created.value().upcoming.size(), 12u);
  EXPECT_EQ(created.value().paid.size(), 13u);
  const std::vector<DueRecord> members = Members(created.value().seriesId);
  ASSERT_EQ(members.size(), 25u);

  const DueRecord& first = members.front();
  EXPECT_TRUE(IsPaid(first));
  EXPECT_EQ(first.dueDate, Day(2025, 11, 3));
  EXPECT_EQ(first.paidOn, Day(2025, 11, 3));
  EXPECT_EQ(first.paidAmount, 950.00);
  EXPECT_EQ(first.paymentReference, "RENT-2025-11");
  EXPECT_EQ(first.paymentCounterparty, "Harbour Lettings Ltd");
  EXPECT_EQ(first.paymentCounterpartyAccount, "GB33 BUKB 2020 1555 5555 55");
  EXPECT_EQ(first.title, "Harbour Lettings Ltd");
  EXPECT_EQ(first.account, "Checking");

  const DueRecord& next = members[13];
  EXPECT_FALSE(IsPaid(next));
  EXPECT_EQ(next.startDate, Day(2026, 12, 1));
  EXPECT_EQ(next.dueDate, Day(2026, 12, 1));
  EXPECT_EQ(next.amount, 950.00);
  // 1 Aug 2027 is a Sunday: due the Monday after, as the bank books it.
  EXPECT_EQ(members[21].startDate, Day(2027, 8, 1));
  EXPECT_EQ(members[21].dueDate, Day(2027, 8, 2));
}

TEST_F(SuggestedSeriesCreationTest, TheSameStatementAfterwardsMarksNothingTwiceNorProposesItAgain) {
  ASSERT_TRUE(
      CreateSuggestedSeries(Find("Harbour Lettings Ltd"), 12, dues_.store(), dues_.clock()).ok());
  const StatementMatching matching = MatchStatement(statement_, dues_.map(), {});
  std::size_t rentsAlreadyImported = 0;
  for (const std::size_t index : matching.alreadyImported)
    rentsAlreadyImported += statement_.transactions[index].id.starts_with("RENT-") ? 1 : 0;
  EXPECT_EQ(rentsAlreadyImported, 13u);
  for (const StatementMatch& match : matching.matches)
    ADD_FAILURE() << "matched " << statement_.transactions[match.transaction].id;
  for (const SeriesSuggestion& suggestion : SuggestSeries({statement_}, dues_.map()).suggestions)
    EXPECT_NE(suggestion.payTo, "Harbour Lettings Ltd");
}

TEST_F(SuggestedSeriesCreationTest, AnIncomeSeriesIsOfTypeIncome) {
  const auto created =
      CreateSuggestedSeries(Find("Acme Corp Payroll"), 4, dues_.store(), dues_.clock());
  ASSERT_TRUE(created.ok());
  for (const DueRecord& member : Members(created.value().seriesId))
    EXPECT_EQ(member.type, kTypeIncome) << member.recordId;
  EXPECT_EQ(dues_.store().Get(created.value().upcoming.front()).dueDate, Day(2026, 12, 4));
}

TEST_F(SuggestedSeriesCreationTest, AFailedWriteLeavesNothingBehind) {
  const SeriesSuggestion rent = Find("Harbour Lettings Ltd");
  dues_.files().FailNth(Call::kWrite, 15, ENOSPC);
  const auto created = CreateSuggestedSeries(rent, 12, dues_.store(), dues_.clock());
  ASSERT_FALSE(created.ok());
  EXPECT_NE(created.status().message().find("Nothing of it was written"), std::string::npos);
  EXPECT_EQ(dues_.store().map().size(), 0u);
  dues_.files().FailNth(Call::kWrite, 0, 0);
  ASSERT_TRUE(dues_.store().Reload().folderStatus.ok());
  EXPECT_EQ(dues_.store().map().size(), 0u);
}

TEST_F(SuggestedSeriesCreationTest, ACountBelowOneIsRefused) {
  const auto created = CreateSuggestedSeries(Find("Telco Mobile"), 0, dues_.store(), dues_.clock());
  ASSERT_FALSE(created.ok());
  EXPECT_EQ(created.status().code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(dues_.store().map().size(), 0u);
}

}  // namespace
}  // namespace paylark

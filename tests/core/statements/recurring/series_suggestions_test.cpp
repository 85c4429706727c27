#include "core/statements/recurring/series_suggestions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/core/statements/household_year.h"

namespace paylark {
namespace {

using testing::Day;
using testing::HouseholdYear;
using testing::Transaction;

// The suggestions by pay-to and amount, so that a test names the one it looks at.
std::map<std::string, SeriesSuggestion> ByPayee(const SeriesSuggestions& found) {
  std::map<std::string, SeriesSuggestion> byPayee;
  for (const SeriesSuggestion& suggestion : found.suggestions)
    byPayee[suggestion.payTo + " " + std::to_string(suggestion.amount)] = suggestion;
  return byPayee;
}

class SeriesSuggestionsTest : public ::testing::Test {
 protected:
  SeriesSuggestions Suggest(const std::vector<Statement>& statements) {
    return SuggestSeries(statements, dues_.map());
  }

  testing::StatementDues dues_;
};

TEST_F(SeriesSuggestionsTest, AHouseholdYearShowsItsBillsAndSalaryAndNothingElse) {
  const auto found = ByPayee(Suggest({HouseholdYear()}));
  std::vector<std::string> payees;
  payees.reserve(found.size());
  for (const auto& [key, suggestion] : found)
    payees.push_back(key);
  EXPECT_EQ(payees,
            (std::vector<std::string>{"Acme Corp Payroll 240000", "Harbour Lettings Ltd 95000",
                                      "Hearth Insurance 48000", "STREAMFLIX 1599", "STREAMFLIX 999",
                                      "Telco Mobile 4050"}));
  // Two plans of one payee are two series.
  EXPECT_EQ(found.at("STREAMFLIX 999").patternText, "monthly on the 5th");
  EXPECT_EQ(found.at("STREAMFLIX 1599").patternText, "monthly on the 12th");
  EXPECT_FALSE(found.at("STREAMFLIX 1599").variable);
}

TEST_F(SeriesSuggestionsTest, RentOnTheFirstIsMonthlyWithTheWeekendShiftUndone) {
  const SeriesSuggestion rent =
      ByPayee(Suggest({HouseholdYear()})).at("Harbour Lettings Ltd 95000");
  EXPECT_EQ(rent.patternText, "monthly on the 1st");
  EXPECT_EQ(rent.cadence.shift, WeekendShift::kMondayAfter);
  EXPECT_EQ(rent.next, Day(2026, 12, 1));
  EXPECT_EQ(rent.pattern.kind, RecurrenceKind::kMonth);
  EXPECT_EQ(rent.pattern.monthDay, "1");
  EXPECT_EQ(rent.pattern.monthIntervalDayForm, "1");
  EXPECT_EQ(rent.pattern.rangeStart, Day(2026, 12, 1));
  EXPECT_EQ(rent.pattern.count, "12");
  EXPECT_EQ(rent.seen.size(), 13u);
  EXPECT_FALSE(rent.variable);
  EXPECT_FALSE(rent.income);
  EXPECT_EQ(rent.account, "Checking");
}

TEST_F(SeriesSuggestionsTest, APhoneBillOfVaryingAmountShowsItsRange) {
  const SeriesSuggestion phone = ByPayee(Suggest({HouseholdYear()})).at("Telco Mobile 4050");
  EXPECT_EQ(phone.patternText, "monthly on the 20th");
  EXPECT_TRUE(phone.variable);
  EXPECT_EQ(phone.minimum, 3800);
  EXPECT_EQ(phone.maximum, 4300);
  EXPECT_EQ(phone.seen.size(), 13u);
  EXPECT_EQ(phone.next, Day(2026, 12, 20));
}

TEST_F(SeriesSuggestionsTest, AYearlyInsuranceSeenTwiceIsYearly) {
  const SeriesSuggestion insurance =
      ByPayee(Suggest({HouseholdYear()})).at("Hearth Insurance 48000");
  EXPECT_EQ(insurance.patternText, "yearly on 15 Nov");
  EXPECT_EQ(insurance.next, Day(2027, 11, 15));
  EXPECT_EQ(insurance.pattern.kind, RecurrenceKind::kYear);
  EXPECT_EQ(insurance.pattern.yearDateMonth, 10);
  EXPECT_EQ(insurance.pattern.yearDay, "15");
  EXPECT_EQ(insurance.seen.size(), 2u);
}

TEST_F(SeriesSuggestionsTest, ASalaryEveryOtherFridayIsAnIncomeSeries) {
  const SeriesSuggestion salary =
      ByPayee(Suggest({HouseholdYear()})).at("Acme Corp Payroll 240000");
  EXPECT_EQ(salary.patternText, "every 2 weeks on Friday");
  EXPECT_TRUE(salary.income);
  EXPECT_EQ(salary.pattern.kind, RecurrenceKind::kWeek);
  EXPECT_EQ(salary.pattern.weekInterval, "2");
  EXPECT_TRUE(salary.pattern.weekdays[5]);
  EXPECT_EQ(salary.next, Day(2026, 12, 4));
}

TEST_F(SeriesSuggestionsTest, ACounterpartyThatPaysASeriesAlreadyIsLeftOut) {
  DueRecord paid = DueRecord::WithDefaults(dues_.clock());
  paid.title = "Phone";
  paid.seriesId = "recId20260101000000-0000abcd";
  paid.paid = 1;
  paid.paymentCounterparty = "TELCO MOBILE 0042";
  ASSERT_TRUE(dues_.store().Add(paid).status.ok());
  const auto found = ByPayee(Suggest({HouseholdYear()}));
  EXPECT_FALSE(found.contains("Telco Mobile 4050"));
  EXPECT_TRUE(found.contains("Harbour Lettings Ltd 95000"));
}

TEST_F(SeriesSuggestionsTest, ARentPaidFromAKnownAccountIsLeftOutByItsIban) {
  DueRecord paid = DueRecord::WithDefaults(dues_.clock());
  paid.seriesId = "recId20260101000000-0000abcd";
  paid.paid = 1;
  paid.paymentCounterparty = "Lettings";
  paid.paymentCounterpartyAccount = "GB33BUKB20201555555555";
  ASSERT_TRUE(dues_.store().Add(paid).status.ok());
  EXPECT_FALSE(ByPayee(Suggest({HouseholdYear()})).contains("Harbour Lettings Ltd 95000"));
}

TEST_F(SeriesSuggestionsTest, TwoMonthsOfHistoryProposeOnlyWeeklyCadencesAndSaySo) {
  Statement statement = HouseholdYear();
  std::erase_if(statement.transactions, [](const StatementTransaction& transaction) {
    return transaction.bookingDate > Day(2025, 12, 31);
  });
  statement.periodEnd = Day(2025, 12, 31);
  const SeriesSuggestions found = Suggest({statement});
  EXPECT_TRUE(found.monthlyLeftOut);
  EXPECT_EQ(found.historyDays, 61);
  ASSERT_EQ(found.suggestions.size(), 1u);
  EXPECT_EQ(found.suggestions[0].payTo, "Acme Corp Payroll");
}

TEST_F(SeriesSuggestionsTest, StatementsOfTwoAccountsKeepTheirAccountsApart) {
  const SeriesSuggestions found = Suggest({HouseholdYear("Checking"), HouseholdYear("Joint")});
  std::map<std::string, int> rents;
  for (const SeriesSuggestion& suggestion : found.suggestions) {
    if (suggestion.payTo == "Harbour Lettings Ltd") {
      ++rents[suggestion.account];
      EXPECT_EQ(suggestion.seen.size(), 13u);
    }
  }
  EXPECT_EQ(rents, (std::map<std::string, int>{{"Checking", 1}, {"Joint", 1}}));
}

TEST_F(SeriesSuggestionsTest, OverlappingStatementsCountABookingOnce) {
  const SeriesSuggestions found = Suggest({HouseholdYear(), HouseholdYear()});
  EXPECT_EQ(found.suggestions.size(), 6u);
  for (const SeriesSuggestion& suggestion : found.suggestions)
    EXPECT_LE(suggestion.seen.size(), 28u) << suggestion.payTo;
}

TEST_F(SeriesSuggestionsTest, NoStatementsSuggestNothing) {
  const SeriesSuggestions found = Suggest({});
  EXPECT_TRUE(found.suggestions.empty());
  EXPECT_EQ(found.historyDays, 0);
}

}  // namespace
}  // namespace paylark

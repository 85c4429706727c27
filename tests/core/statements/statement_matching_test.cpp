#include "core/statements/statement_matching.h"

#include <gtest/gtest.h>

#include "core/records/payment.h"
#include "core/statements/match_scoring.h"
#include "tests/core/statements/statement_test_dues.h"

namespace paylark {
namespace {

using testing::Day;
using testing::Transaction;

class StatementMatchingTest : public ::testing::Test {
 protected:
  StatementMatching Match(std::vector<StatementTransaction> transactions,
                          std::string account = "") {
    statement_.account = std::move(account);
    statement_.transactions = std::move(transactions);
    return MatchStatement(statement_, dues_.map(), MatchOptions{});
  }

  // The statement's one match; an empty one, failing the test, when there is not exactly one.
  static StatementMatch Only(const StatementMatching& matching) {
    EXPECT_EQ(matching.matches.size(), 1u);
    return matching.matches.size() == 1 ? matching.matches[0] : StatementMatch{};
  }

  testing::StatementDues dues_;
  Statement statement_;
};

TEST_F(StatementMatchingTest, AnExactDebitNamingThePayeeIsASureMatch) {
  const std::string rent =
      dues_.Add("Rent", Day(2026, 11, 1), 850.00, "", kTypeBusiness, "Hausverwaltung Müller");
  const StatementMatching matching =
      Match({Transaction("T1", Day(2026, 11, 2), -85000, "HAUSVERWALTUNG MÜLLER GMBH")});
  ASSERT_EQ(matching.matches.size(), 1u);
  EXPECT_EQ(matching.matches[0].recordId, rent);
  EXPECT_EQ(matching.matches[0].transaction, 0u);
  EXPECT_TRUE(matching.matches[0].sure);
  EXPECT_GT(matching.matches[0].score, 0.9);
  EXPECT_TRUE(matching.unmatched.empty());
  EXPECT_TRUE(matching.stillUnpaid.empty());
}

TEST_F(StatementMatchingTest, AnAmountWithinTheToleranceMatchesAndOneBeyondItDoesNot) {
  // 7.5% of 100.00 is 7.50: 107.50 is the last amount that matches, to the cent.
  const std::string power = dues_.Add("Power", Day(2026, 11, 10), 100.00);
  const StatementMatch within = Only(Match({Transaction("A", Day(2026, 11, 10), -10750, "Power")}));
  EXPECT_EQ(within.recordId, power);
  EXPECT_LT(within.score, 0.8);

  const StatementMatching matching = Match({Transaction("B", Day(2026, 11, 10), -10751, "Power")});
  EXPECT_TRUE(matching.matches.empty());
  EXPECT_EQ(matching.unmatched, (std::vector<std::size_t>{0}));
  EXPECT_EQ(matching.stillUnpaid, std::vector<std::string>{power});

  // Below the tolerance, from the due's own payee: a part of it at most.
  const StatementMatch part = Only(Match({Transaction("C", Day(2026, 11, 10), -9249, "Power")}));
  EXPECT_TRUE(part.part);
  EXPECT_FALSE(part.sure);
}

TEST_F(StatementMatchingTest, TheWindowReachesFourDaysBeforeAndTenAfterTheDueDate) {
  dues_.Add("Phone", Day(2026, 11, 15), 30.00);
  const struct {
    OleDateTime booked;
    bool matches;
  } cases[] = {{Day(2026, 11, 11), true},
               {Day(2026, 11, 10), false},
               {Day(2026, 11, 25), true},
               {Day(2026, 11, 26), false}};
  for (const auto& c : cases) {
    const StatementMatching matching = Match({Transaction("T", c.booked, -3000, "Phone")});
    EXPECT_EQ(matching.matches.size(), c.matches ? 1u : 0u) << c.booked.ToCivil().day;
  }
}

TEST_F(StatementMatchingTest, OfTwoBillsOfTheSameAmountTheCloserDateWins) {
  const std::string early = dues_.Add("Insurance", Day(2026, 11, 1), 45.00);
  const std::string late = dues_.Add("Insurance", Day(2026, 11, 6), 45.00);
  // Three days after the first and two before the second: the second is closer.
  EXPECT_EQ(Only(Match({Transaction("T", Day(2026, 11, 4), -4500, "Insurance")})).recordId, late);

  // Two bookings take one bill each, the closer pairing first.
  const StatementMatching matching =
      Match({Transaction("U", Day(2026, 11, 7), -4500, "Insurance"),
             Transaction("V", Day(2026, 11, 1), -4500, "Insurance")});
  ASSERT_EQ(matching.matches.size(), 2u);
  EXPECT_EQ(matching.matches[0].transaction, 1u);
  EXPECT_EQ(matching.matches[0].recordId, early);
  EXPECT_EQ(matching.matches[1].recordId, late);
}

TEST_F(StatementMatchingTest, ASplitAcrossTwoBillsIsNotMatched) {
  const std::string water = dues_.Add("Water", Day(2026, 11, 5), 60.00);
  const std::string gas = dues_.Add("Gas", Day(2026, 11, 5), 40.00);
  const StatementMatching matching =
      Match({Transaction("T", Day(2026, 11, 5), -10000, "Stadtwerke Water Gas")});
  EXPECT_TRUE(matching.matches.empty());
  EXPECT_EQ(matching.unmatched, std::vector<std::size_t>{0});
  EXPECT_EQ(matching.stillUnpaid, (std::vector<std::string>{water, gas}));
}

TEST_F(StatementMatchingTest, CreditsMatchIncomesAndDebitsMatchBills) {
  const std::string salary =
      dues_.Add("Salary", Day(2026, 11, 28), 2400.00, "", kTypeIncome, "Acme Corp");
  const std::string bill = dues_.Add("Acme Corp", Day(2026, 11, 28), 2400.00);
  const StatementMatching matching =
      Match({Transaction("IN", Day(2026, 11, 27), 240000, "ACME CORP"),
             Transaction("OUT", Day(2026, 11, 27), -240000, "ACME CORP")});
  ASSERT_EQ(matching.matches.size(), 2u);
  for (const StatementMatch& match : matching.matches)
    EXPECT_EQ(match.recordId, match.transaction == 0 ? salary : bill);
}

TEST_F(StatementMatchingTest, DuesOfOtherAccountsArePassedOver) {
  const std::string checking = dues_.Add("Gym", Day(2026, 11, 3), 25.00, "Checking");
  dues_.Add("Gym", Day(2026, 11, 3), 25.00, "Savings");
  dues_.Add("Gym", Day(2026, 11, 3), 25.00, "");
  const StatementMatching matching =
      Match({Transaction("T", Day(2026, 11, 3), -2500, "Gym")}, "  checking ");
  EXPECT_EQ(Only(matching).recordId, checking);
  EXPECT_FALSE(matching.accountNamedByNoDue);
  EXPECT_TRUE(matching.stillUnpaid.empty());
}

TEST_F(StatementMatchingTest, AnAccountNoDueNamesIsMatchedAgainstDuesWithoutAnAccount) {
  dues_.Add("Gym", Day(2026, 11, 3), 25.00, "Savings");
  const std::string unnamed = dues_.Add("Gym", Day(2026, 11, 4), 25.00, "");
  const StatementMatching matching =
      Match({Transaction("T", Day(2026, 11, 3), -2500, "Gym")}, "DE44 5001 0517 5407 3249 31");
  EXPECT_TRUE(matching.accountNamedByNoDue);
  EXPECT_EQ(Only(matching).recordId, unnamed);
}

TEST_F(StatementMatchingTest, AStatementWithoutAnAccountMatchesTheDuesOfEveryAccount) {
  const std::string savings = dues_.Add("Gym", Day(2026, 11, 3), 25.00, "Savings");
  const StatementMatching matching = Match({Transaction("T", Day(2026, 11, 3), -2500, "Gym")});
  EXPECT_FALSE(matching.accountNamedByNoDue);
  EXPECT_EQ(Only(matching).recordId, savings);
}

TEST_F(StatementMatchingTest, ATransactionAlreadyAPaymentReferenceIsNeverMatchedAgain) {
  const std::string paid = dues_.Add("Rent", Day(2026, 11, 1), 850.00);
  DueRecord record = dues_.store().Get(paid);
  record.paid = 1;
  record.paymentReference = "FIT-1";
  ASSERT_TRUE(dues_.store().Replace(record).ok());
  const std::string next = dues_.Add("Rent", Day(2026, 11, 2), 850.00);
  const StatementMatching matching =
      Match({Transaction("FIT-1", Day(2026, 11, 1), -85000, "Rent"),
             Transaction("FIT-2", Day(2026, 11, 1), -85000, "Rent")});
  EXPECT_EQ(matching.alreadyImported, std::vector<std::size_t>{0});
  EXPECT_EQ(Only(matching).transaction, 1u);
  EXPECT_EQ(Only(matching).recordId, next);
  EXPECT_TRUE(matching.unmatched.empty());
}

TEST_F(StatementMatchingTest, StillUnpaidListsTheUnmatchedDuesOfThePeriodInDateOrder) {
  const std::string inside = dues_.Add("Later", Day(2026, 11, 20), 10.00);
  const std::string first = dues_.Add("Early", Day(2026, 11, 1), 10.00);
  dues_.Add("Before", Day(2026, 10, 31), 10.00);
  dues_.Add("After", Day(2026, 12, 1), 10.00);
  statement_.periodStart = Day(2026, 11, 1);
  statement_.periodEnd = Day(2026, 11, 30);
  const StatementMatching matching = Match({});
  EXPECT_EQ(matching.stillUnpaid, (std::vector<std::string>{first, inside}));

  // Without a period the transactions' first and last days bound it.
  statement_.periodStart.reset();
  statement_.periodEnd.reset();
  EXPECT_EQ(Match({Transaction("A", Day(2026, 11, 1), -1, "x"),
                   Transaction("B", Day(2026, 11, 19), -1, "x")})
                .stillUnpaid,
            std::vector<std::string>{first});
}

TEST_F(StatementMatchingTest, ASureMatchNeedsEvidenceBeyondAmountAndDate) {
  // An exact amount on the day without the name is only possible; the name is sure anywhere.
  dues_.Add("Internet", Day(2026, 11, 10), 39.99, "", kTypeBusiness, "Netcom");
  EXPECT_FALSE(Only(Match({Transaction("A", Day(2026, 11, 10), -3999, "SEPA DD 4711")})).sure);
  EXPECT_TRUE(Only(Match({Transaction("C", Day(2026, 11, 20), -3999, "NETCOM")})).sure);
  // At the edge of the tolerance even the name on the day is only possible.
  EXPECT_FALSE(Only(Match({Transaction("D", Day(2026, 11, 10), -4298, "NETCOM")})).sure);
}

TEST_F(StatementMatchingTest, TheOptionsWidenOrNarrowTheWindowAndTolerance) {
  dues_.Add("Club", Day(2026, 11, 10), 100.00);
  statement_.transactions = {Transaction("T", Day(2026, 11, 3), -11000, "Club")};
  EXPECT_TRUE(MatchStatement(statement_, dues_.map(), {}).matches.empty());
  EXPECT_EQ(MatchStatement(statement_, dues_.map(), {7, 10, 0.10}).matches.size(), 1u);
}

TEST_F(StatementMatchingTest, ManyEqualBillsAreMatchedTheSameWayEveryTime) {
  for (int day = 1; day <= 20; ++day)
    dues_.Add("Parking", Day(2026, 11, day), 5.00);
  std::vector<StatementTransaction> transactions;
  transactions.reserve(20);
  for (int day = 1; day <= 20; ++day)
    transactions.push_back(Transaction("P" + std::to_string(day), Day(2026, 11, day), -500));
  const StatementMatching first = Match(transactions);
  EXPECT_EQ(first.matches.size(), 20u);
  for (const StatementMatch& match : first.matches)
    EXPECT_EQ(dues_.store().Get(match.recordId).dueDate.ToCivil().day,
              static_cast<int>(match.transaction) + 1);
  EXPECT_EQ(Match(transactions).matches, first.matches);
}

TEST_F(StatementMatchingTest, ThirtyEqualBillsOfOneDayAreAllPaidByThirtyEqualBookings) {
  for (int i = 0; i < 30; ++i)
    dues_.Add("Toll", Day(2026, 11, 5), 2.50);
  std::vector<StatementTransaction> transactions;
  transactions.reserve(30);
  for (int i = 0; i < 30; ++i)
    transactions.push_back(Transaction("B" + std::to_string(i), Day(2026, 11, 5), -250, "Toll"));
  const StatementMatching matching = Match(transactions);
  EXPECT_EQ(matching.matches.size(), 30u);
  EXPECT_TRUE(matching.unmatched.empty());
  EXPECT_TRUE(matching.stillUnpaid.empty());
}

// A stranger paying the same amount on the due date is no proof that the bill was paid.
TEST_F(StatementMatchingTest, TheSameAmountOnTheDayFromAStrangerIsPossibleAtMost) {
  const std::string gym = dues_.Add("Gym", Day(2026, 12, 4), 35.00, "", kTypeBusiness, "FitCo");
  const StatementMatch match =
      Only(Match({Transaction("T", Day(2026, 12, 4), -3500, "CORNER SHOP", "CARD 4471")}));
  EXPECT_EQ(match.recordId, gym);
  EXPECT_FALSE(match.sure);
  EXPECT_EQ(MatchReasonText(match.reason),
            "amount exact \u00b7 on the due date \u00b7 no name in common");
}

class SeriesEvidenceTest : public StatementMatchingTest {
 protected:
  // A member of the electricity series, paid by the statement's booking when `payer` is given.
  std::string Member(OleDateTime due, const std::string& payer = "",
                     const std::string& payerAccount = "") {
    DueRecord record = DueRecord::WithDefaults(dues_.clock());
    record.title = "Strom";
    record.payTo = "Energieversorger Nord";
    record.dueDate = due;
    record.amount = 84.00;
    record.seriesId = "rec20260101090000";
    if (!payer.empty() || !payerAccount.empty())
      MarkPaid(record, due, {due, 84.00, "OLD-" + payer, payer, payerAccount});
    dues_.clock().AdvanceSeconds(1);
    return dues_.store().Add(record).recordId;
  }
};

TEST_F(SeriesEvidenceTest, WhoPaidTheSeriesBeforeMakesTheNextPaymentSure) {
  Member(Day(2026, 10, 30), "STADTWERKE GMBH");
  const std::string november = Member(Day(2026, 11, 30));
  // The title and pay-to share no word with the bank's name; the memory of October does.
  const StatementMatch match = Only(
      Match({Transaction("N", Day(2026, 12, 2), -8652, "STADTWERKE GMBH", "Abschlag 11/2026")}));
  EXPECT_EQ(match.recordId, november);
  EXPECT_TRUE(match.sure);
  EXPECT_EQ(MatchReasonText(match.reason),
            "amount 3.0% more \u00b7 2 days late \u00b7 STADTWERKE GMBH paid this series before");
}

TEST_F(SeriesEvidenceTest, WithoutAnEarlierPaymentTheSameBookingIsOnlyPossible) {
  Member(Day(2026, 10, 30));
  Member(Day(2026, 11, 30));
  EXPECT_FALSE(Only(Match({Transaction("N", Day(2026, 12, 2), -8652, "STADTWERKE GMBH")})).sure);
}

TEST_F(SeriesEvidenceTest, TheAccountThatPaidBeforeIsEvidenceUnderAnotherName) {
  Member(Day(2026, 10, 30), "", "DE44 5001 0517 5407 3249 31");
  Member(Day(2026, 11, 30));
  StatementTransaction booking = Transaction("N", Day(2026, 11, 30), -8400, "SWN VERTRIEB");
  booking.counterpartyAccount = "DE44500105175407324931";
  const StatementMatch match = Only(Match({booking}));
  EXPECT_TRUE(match.sure);
  EXPECT_EQ(match.reason.evidence, MatchEvidence::kSeriesPayer);
}

TEST_F(StatementMatchingTest, TheBillsOwnIbanOrReferenceMakesAMatchSure) {
  DueRecord record = DueRecord::WithDefaults(dues_.clock());
  record.title = "Invoice 2026-118";
  record.payTo = "Kanzlei Brandt";
  record.dueDate = Day(2026, 11, 20);
  record.amount = 410.00;
  record.payeeAccount = "DE02 1001 0010 0006 8201 01";
  record.creditorReference = "RF18 5390 0754 7034";
  const std::string invoice = dues_.store().Add(record).recordId;

  StatementTransaction toIban = Transaction("I", Day(2026, 11, 22), -41000, "KB TREUHAND");
  toIban.counterpartyAccount = "DE02100100100006820101";
  const StatementMatch byIban = Only(Match({toIban}));
  EXPECT_EQ(byIban.recordId, invoice);
  EXPECT_TRUE(byIban.sure);
  EXPECT_EQ(MatchReasonText(byIban.reason),
            "amount exact \u00b7 2 days late \u00b7 paid to the bill's IBAN");

  const StatementMatch byReference =
      Only(Match({Transaction("R", Day(2026, 11, 20), -41000, "UNKNOWN", "RF18539007547034")}));
  EXPECT_TRUE(byReference.sure);
  EXPECT_EQ(byReference.reason.evidence, MatchEvidence::kCreditorReference);
}

TEST_F(StatementMatchingTest, AnotherCurrencyIsNeverMatchedByAmountAlone) {
  const std::string ski =
      dues_.Add("Ski pass", Day(2026, 11, 20), 50.00, "", kTypeBusiness, "Bergbahnen Zermatt");
  StatementTransaction stranger = Transaction("S", Day(2026, 11, 20), -5000, "TAXI ZERMATT");
  stranger.currency = "CHF";
  EXPECT_TRUE(Match({stranger}).matches.empty());

  StatementTransaction named = Transaction("B", Day(2026, 11, 21), -5230, "BERGBAHNEN ZERMATT");
  named.currency = "CHF";
  const StatementMatch match = Only(Match({named}));
  EXPECT_EQ(match.recordId, ski);
  EXPECT_FALSE(match.sure);
  EXPECT_EQ(MatchReasonText(match.reason),
            "1 day late \u00b7 the counterparty names the due \u00b7 in CHF, not the statement's "
            "currency");
}

}  // namespace
}  // namespace paylark

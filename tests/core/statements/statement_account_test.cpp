#include "core/statements/statement_account.h"

#include <gtest/gtest.h>

#include "core/forecast/balance_book.h"
#include "core/statements/statement_import.h"
#include "tests/core/statements/statement_test_dues.h"

namespace paylark {
namespace {

using testing::Day;
using testing::Transaction;

constexpr char kRecords[] = "/home/user/Paylark Files";

BalanceEntry Entry(const std::string& id, const std::string& account,
                   const std::string& bankAccount) {
  return {id, account, Day(2026, 11, 30), 100.0, "statement.ofx", bankAccount};
}

// A bank's statement names the account by its own ID; the user's dues name "Checking" and
// "Savings". The statement pays a Savings due.
class StatementAccountTest : public ::testing::Test {
 protected:
  StatementAccountTest() {
    dues_.Add("Rent", Day(2026, 12, 1), 950.00, "Checking", kTypeBusiness, "Oak Property");
    transfer_ = dues_.Add("Deposit", Day(2026, 12, 3), 200.00, " savings ", kTypeBusiness, "Bank");
    dues_.Add("Loan", Day(2026, 12, 15), 120.00, "Savings", kTypeBusiness, "Bank");
    statement_.bankAccount = "123456789";
    statement_.closingBalance = StatementBalance{Day(2026, 12, 3), 55000};
    statement_.transactions = {Transaction("D1", Day(2026, 12, 3), -20000, "BANK DEPOSIT")};
  }

  testing::StatementDues dues_;
  Statement statement_;
  std::string transfer_;
};

TEST_F(StatementAccountTest, TheNewestEntryCarryingTheBanksIdGivesTheLink) {
  const std::vector<BalanceEntry> entries = {
      Entry("1", "Checking", "123456789"), Entry("2", "Typed", ""),
      Entry("3", "Savings", "123456789"), Entry("4", "Other", "999")};
  EXPECT_EQ(LinkedAccount(entries, "123456789"), "Savings");
  EXPECT_EQ(LinkedAccount(entries, "555"), std::nullopt);
  EXPECT_EQ(LinkedAccount(entries, ""), std::nullopt);
}

// The choices are the dues' accounts, each named once (in name order): the linked one first, else
// the one matching best.
TEST_F(StatementAccountTest, TheLinkedAccountComesFirstElseTheBestMatchingOne) {
  EXPECT_EQ(AccountsOfDues(dues_.map()), (std::vector<std::string>{"Checking", " savings "}));
  EXPECT_EQ(StatementAccountChoices(statement_, dues_.map(), {}, {}),
            (std::vector<std::string>{" savings ", "Checking"}));
  const std::vector<BalanceEntry> linked = {Entry("1", "Checking", "123456789")};
  EXPECT_EQ(StatementAccountChoices(statement_, dues_.map(), linked, {}),
            (std::vector<std::string>{"Checking", " savings "}));
}

TEST_F(StatementAccountTest, AnImportLinksTheBankAccountAndKeepsWhoPaid) {
  BalanceBook balances(dues_.files(), kRecords);
  ASSERT_TRUE(balances.Load().ok());
  statement_.account = "Savings";
  statement_.transactions[0].counterpartyAccount = "DE44500105175407324931";
  const StatementMatching matching = MatchStatement(statement_, dues_.map(), {});
  ASSERT_EQ(matching.matches.size(), 1u);
  StatementImportChoice choice;
  choice.accepted = matching.matches;
  ASSERT_TRUE(
      ImportStatement(statement_, choice, "dec.ofx", dues_.store(), balances, dues_.clock()).ok());

  const DueRecord paid = dues_.store().Get(transfer_);
  EXPECT_EQ(paid.paymentCounterparty, "BANK DEPOSIT");
  EXPECT_EQ(paid.paymentCounterpartyAccount, "DE44500105175407324931");
  // The link is read back from the folder, as a second device sharing it would.
  BalanceBook again(dues_.files(), kRecords);
  ASSERT_TRUE(again.Load().ok());
  EXPECT_EQ(LinkedAccount(again.entries(), "123456789"), "Savings");
  EXPECT_TRUE(ClosingBalanceEntered(statement_, again.entries()));
  statement_.account = "Checking";
  EXPECT_FALSE(ClosingBalanceEntered(statement_, again.entries()));
}

}  // namespace
}  // namespace paylark

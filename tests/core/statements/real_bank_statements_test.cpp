#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "core/statements/bank_csv_columns_text.h"
#include "core/statements/statement_reading.h"
#include "tests/core/statements/statement_samples.h"
#include "tests/support/scoped_time_zone.h"

namespace paylark {
namespace {

// Statements shaped like real banks' downloads, read in two time zones far apart: every booking
// and balance day must be the one the bank wrote, whatever the user's zone.
class RealBankStatementsTest : public ::testing::TestWithParam<const char*> {
 protected:
  static Statement Read(const std::string& sample, const std::string& columns = "") {
    std::optional<BankCsvColumns> chosen;
    if (!columns.empty())
      chosen = ParseColumnsText(columns).value();
    Result<Statement> statement = ReadStatementBytes(SampleBytes(sample), std::nullopt, chosen);
    EXPECT_TRUE(statement.ok()) << sample << ": " << statement.status().message();
    return statement.ok() ? statement.value() : Statement{};
  }

  static std::vector<OleDateTime> BookingDays(const Statement& statement) {
    std::vector<OleDateTime> days;
    for (const StatementTransaction& transaction : statement.transactions)
      days.push_back(transaction.bookingDate);
    return days;
  }

 private:
  testing::ScopedTimeZone zone_{GetParam()};
};

TEST_P(RealBankStatementsTest, OfxTimesInTheBanksOffsetKeepTheBanksDay) {
  // 23:00 EST on 30 Nov is 1 Dec in UTC and in Auckland; a date alone is that day.
  const Statement statement = Read("us_bank_eastern.ofx");
  EXPECT_EQ(statement.bankAccount, "123456789");
  EXPECT_EQ(statement.account, "");
  EXPECT_EQ(statement.currency, "USD");
  EXPECT_EQ(BookingDays(statement),
            (std::vector<OleDateTime>{Day(2026, 11, 30), Day(2026, 12, 1), Day(2026, 12, 2)}));
  EXPECT_EQ(statement.periodStart, Day(2026, 11, 30));
  EXPECT_EQ(statement.periodEnd, Day(2026, 12, 2));
  EXPECT_EQ(statement.closingBalance, (StatementBalance{Day(2026, 12, 2), 123456}));
}

TEST_P(RealBankStatementsTest, ACardIssuersRepeatedFitidGivesTwoReferences) {
  // A purchase and its foreign-transaction fee share one FITID; 00:30 NZDT is the day before in
  // UTC and in Los Angeles.
  const Statement statement = Read("card_repeated_fitid.qfx");
  EXPECT_EQ(statement.bankAccount, "4000123412349876");
  ASSERT_EQ(statement.transactions.size(), 3u);
  EXPECT_EQ(statement.transactions[0].id, "7731200");
  EXPECT_EQ(statement.transactions[1].id, "7731200#2");
  EXPECT_EQ(statement.transactions[2].id, "7731100");
  EXPECT_EQ(BookingDays(statement),
            (std::vector<OleDateTime>{Day(2026, 12, 1), Day(2026, 12, 1), Day(2026, 11, 27)}));
  EXPECT_EQ(statement.transactions[0].currency, "GBP");
  EXPECT_EQ(statement.transactions[1].currency, "");
  EXPECT_EQ(statement.closingBalance, (StatementBalance{Day(2026, 12, 1), -15800}));
}

TEST_P(RealBankStatementsTest, GermanCamtKeepsDaysPartiesAndTheOtherCurrency) {
  const Statement statement = Read("camt053_german_bank.xml");
  EXPECT_EQ(statement.bankAccount, "DE89370400440532013000");
  EXPECT_EQ(statement.currency, "EUR");
  EXPECT_EQ(statement.closingBalance, (StatementBalance{Day(2026, 11, 30), 204517}));
  ASSERT_EQ(statement.transactions.size(), 3u);
  const StatementTransaction& power = statement.transactions[0];
  EXPECT_EQ(power.bookingDate, Day(2026, 11, 30));
  EXPECT_EQ(power.counterparty, "STADTWERKE GMBH");
  EXPECT_EQ(power.counterpartyAccount, "DE44500105175407324931");
  EXPECT_EQ(power.creditorReference, "RF18539007547034");
  EXPECT_EQ(power.currency, "");
  // A returned direct debit: the other party is the gym, not the account holder.
  const StatementTransaction& reversal = statement.transactions[1];
  EXPECT_EQ(reversal.amount, 3500);
  EXPECT_EQ(reversal.counterparty, "FitCo Studios GmbH");
  EXPECT_EQ(reversal.counterpartyAccount, "DE02100100100006820101");
  EXPECT_EQ(statement.transactions[2].currency, "CHF");
}

TEST_P(RealBankStatementsTest, SwissCamtReadsTheQrReferenceAndALateEveningBooking) {
  const Statement statement = Read("camt053_swiss_bank.xml");
  EXPECT_EQ(statement.bankAccount, "CH9300762011623852957");
  EXPECT_EQ(statement.currency, "CHF");
  ASSERT_EQ(statement.transactions.size(), 2u);
  EXPECT_EQ(statement.transactions[0].creditorReference, "210000000003139471430009017");
  EXPECT_EQ(statement.transactions[0].id, "CH-NTRY-0001");
  EXPECT_EQ(statement.transactions[1].bookingDate, Day(2026, 11, 25));
  EXPECT_EQ(statement.transactions[1].counterparty, "Helvetia Software AG");
  EXPECT_EQ(statement.transactions[1].counterpartyAccount, "CH5604835012345678009");
}

TEST_P(RealBankStatementsTest, BankCsvExportsKeepEveryRow) {
  const struct {
    const char* sample;
    const char* columns;
    std::vector<OleDateTime> days;
    Cents first;
    const char* firstName;
  } cases[] = {
      {"sparkasse.csv",
       "date=2,amount=9,counterparty=6,description=5",
       {Day(2026, 11, 30), Day(2026, 12, 1), Day(2026, 12, 1)},
       -8400,
       "STADTWERKE GMBH"},
      // Every row ends in a comma: one field more than the header, and still no row is lost.
      {"chase.csv",
       "date=2,amount=4,counterparty=3",
       {Day(2026, 11, 30), Day(2026, 12, 1), Day(2026, 12, 2)},
       -3500,
       "CORNER SHOP #118"},
      {"monzo.csv",
       "date=2,amount=8,counterparty=5,description=15",
       {Day(2026, 11, 30), Day(2026, 12, 1), Day(2026, 12, 1)},
       -320,
       "Corner Shop"},
      {"hsbc.csv",
       "date=1,amount=3,counterparty=2",
       {Day(2026, 11, 30), Day(2026, 12, 1), Day(2026, 12, 1)},
       -320,
       "CORNER SHOP"},
  };
  for (const auto& c : cases) {
    const Statement statement = Read(c.sample, c.columns);
    EXPECT_EQ(BookingDays(statement), c.days) << c.sample;
    ASSERT_FALSE(statement.transactions.empty()) << c.sample;
    EXPECT_EQ(statement.transactions[0].amount, c.first) << c.sample;
    EXPECT_EQ(statement.transactions[0].counterparty, c.firstName) << c.sample;
  }
  // The Chase header is found above its wider rows.
  const Result<BankCsvShape> shape = DetectBankCsvShape(SampleBytes("chase.csv"));
  ASSERT_TRUE(shape.ok()) << shape.status().message();
  EXPECT_EQ(shape.value().header.size(), 7u);
  EXPECT_EQ(shape.value().header[1], "Posting Date");
  ASSERT_EQ(shape.value().sampleRows.size(), 3u);
  EXPECT_EQ(shape.value().sampleRows[0][2], "CORNER SHOP #118");
}

INSTANTIATE_TEST_SUITE_P(FarZones, RealBankStatementsTest,
                         ::testing::Values("Pacific/Auckland", "America/Los_Angeles"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param).substr(0, 4) == "Paci" ? "Auckland"
                                                                                 : "LosAngeles";
                         });

// The test statements are read alike by the independent readers.
TEST(RealBankStatementSamplesTest, IndependentReadersAcceptTheSamples) {
  if (!ToolInstalled("xmllint") || !ToolInstalled("ofxdump"))
    GTEST_SKIP() << "xmllint or ofxdump is not installed";
  for (const char* camt : {"camt053_german_bank.xml", "camt053_swiss_bank.xml"})
    EXPECT_EQ(testing::RunTool("xmllint --noout '" + SamplePath(camt) + "'").exitCode, 0) << camt;
  const std::string card =
      testing::RunTool("ofxdump '" + SamplePath("card_repeated_fitid.qfx") + "'").text;
  EXPECT_NE(card.find("Amounts are in foreign currency: Yes"), std::string::npos);
  const std::string checking =
      testing::RunTool("TZ=UTC ofxdump '" + SamplePath("us_bank_eastern.ofx") + "'").text;
  EXPECT_NE(checking.find("Date posted: Tue Dec  1 04:00:00 2026 UTC"), std::string::npos)
      << "ofxdump reads 23:00 EST as the next day in UTC";
}

}  // namespace
}  // namespace paylark

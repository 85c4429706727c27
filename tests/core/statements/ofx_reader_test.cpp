#include "core/statements/ofx_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "tests/core/statements/statement_samples.h"
#include "tests/support/scoped_time_zone.h"

namespace paylark {
namespace {

// Booking days are the days the file writes, whatever the zone; the samples are read in UTC here.
class OfxReaderTest : public ::testing::Test {
 protected:
  static Statement Read(const std::string& sample) {
    Result<Statement> statement = ReadOfxStatement(SampleBytes(sample));
    EXPECT_TRUE(statement.ok()) << sample << ": " << statement.status().message();
    return statement.ok() ? statement.value() : Statement{};
  }

 private:
  testing::ScopedTimeZone zone_{"UTC"};
};

// SGML (OFX 1), XML with a payee aggregate (OFX 2), and a Quicken credit card statement; each
// closes on its period's last day.
TEST_F(OfxReaderTest, ReadsEachKindFieldByField) {
  const std::vector<StatementTransaction> checking = {
      {"PLK-OFX1-0001", Day(2026, 11, 3), -125000, "Maple Street Rentals", "Rent November", "", "",
       ""},
      {"PLK-OFX1-0002", Day(2026, 11, 12), -8437, "Riverside Power & Light", "Account 55-1029", "",
       "", ""},
      {"PLK-OFX1-0003", Day(2026, 11, 15), 320000, "Harbor Tools Payroll", "", "", "", ""},
      {"PLK-OFX1-0004", Day(2026, 11, 30), -99, "Cloud Notes", "Monthly plan", "", "", ""}};
  const std::vector<StatementTransaction> savings = {
      {"SAV-2026-10-02-A", Day(2026, 10, 2), 50000, "Transfer from Checking", "Monthly savings", "",
       "", ""},
      {"SAV-2026-10-15-B", Day(2026, 10, 15), -123456, "Stadtwerke Nordhafen",
       "Jahresabrechnung Strom & Gas", "", "", ""},
      {"SAV-2026-10-31-C", Day(2026, 10, 31), 7, "Zinsen", "", "", "", ""}};
  const std::vector<StatementTransaction> card = {
      {"2026110800001599", Day(2026, 11, 8), -1599, "STREAMFLIX MONTHLY", "", "", "", ""},
      {"2026112100006210", Day(2026, 11, 21), -6210, "NORTHWIND MOBILE", "Invoice 88120", "", "",
       ""},
      {"2026120100007809", Day(2026, 12, 1), 7809, "PAYMENT THANK YOU", "", "", "", ""}};
  const struct {
    const char* sample;
    const char* bankAccount;
    OleDateTime start;
    OleDateTime end;
    Cents closing;
    const std::vector<StatementTransaction>& transactions;
  } cases[] = {
      {"ofx1_checking.ofx", "00442211", Day(2026, 11, 1), Day(2026, 11, 30), 241755, checking},
      {"ofx2_savings.ofx", "7788990011", Day(2026, 10, 1), Day(2026, 10, 31), 1026551, savings},
      {"card.qfx", "4000123412341234", Day(2026, 11, 5), Day(2026, 12, 4), 0, card},
  };
  for (const auto& c : cases) {
    const Statement statement = Read(c.sample);
    EXPECT_EQ(statement.bankAccount, c.bankAccount) << c.sample;
    EXPECT_EQ(statement.periodStart, c.start) << c.sample;
    EXPECT_EQ(statement.periodEnd, c.end) << c.sample;
    EXPECT_EQ(statement.closingBalance, (StatementBalance{c.end, c.closing})) << c.sample;
    EXPECT_EQ(statement.transactions, c.transactions) << c.sample;
  }
}

TEST_F(OfxReaderTest, WindowsCharacterSetBecomesUtf8) {
  std::string bytes = SampleBytes("ofx1_checking.ofx");
  const std::string name = "Maple Street Rentals";
  bytes.replace(bytes.find(name), name.size(), "Caf\xE9 M\xFCller");
  const Result<Statement> statement = ReadOfxStatement(bytes);
  ASSERT_TRUE(statement.ok()) << statement.status().message();
  EXPECT_EQ(statement.value().transactions[0].counterparty, "Caf\u00e9 M\u00fcller");
}

TEST_F(OfxReaderTest, PrintsNothingWhateverTheInput) {
  const std::string truncated = SampleBytes("ofx1_checking.ofx").substr(0, 700) + "</OFX>";
  for (const std::string& bytes :
       {SampleBytes("ofx1_checking.ofx"), SampleBytes("ofx2_savings.ofx"), truncated,
        std::string("OFXHEADER:100\r\n\r\n<OFX><BANKMSGSRSV1>garbage</OFX>")}) {
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    (void)ReadOfxStatement(bytes);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
}

// The text with the first occurrence of from in it replaced by to.
std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// What is damaged is corrupt, a whole statement of two accounts an invalid argument; the
// refusals a user can act on say what is wrong.
TEST_F(OfxReaderTest, WhatIsNoSingleStatementIsRefusedAndSaysWhy) {
  const std::string sample = SampleBytes("ofx1_checking.ofx");
  std::string twoAccounts = sample;
  const std::size_t start = sample.find("<STMTTRNRS>");
  const std::size_t end = sample.find("</STMTTRNRS>") + std::string_view("</STMTTRNRS>").size();
  std::string second = sample.substr(start, end - start);
  second.replace(second.find("00442211"), 8, "99887766");
  twoAccounts.insert(end, "\r\n" + second);
  std::string deep = "OFXHEADER:100\r\nDATA:OFXSGML\r\n\r\n<OFX>";
  for (int level = 0; level < 10000; ++level)
    deep += "<STMTRS>";
  deep += "<TRNAMT>1";
  for (int level = 0; level < 10000; ++level)
    deep += "</STMTRS>";
  deep += "</OFX>";
  const struct {
    std::string bytes;
    std::string message;  // a part of it; empty: any
    StatusCode code = StatusCode::kCorrupt;
  } cases[] = {
      {sample.substr(0, sample.find("<OFX>") + 5), "cut off"},
      {sample.substr(0, sample.size() / 2), "cut off"},
      {sample.substr(0, sample.size() - 8), "cut off"},
      {"<OFX></OFX>", ""},
      {"OFXHEADER:100\r\nDATA:OFXSGML\r\n\r\n<OFX>\r\n</OFX>\r\n", ""},
      {"Date,Amount\n2026-01-01,5</OFX>", ""},
      {"<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>"
       "</SONRS></SIGNONMSGSRSV1></OFX>",
       ""},
      {twoAccounts, "statements of 2 accounts", StatusCode::kInvalidArgument},
      {deep, "more than 32 deep"},  // refused before libofx sees it
      // LibOFX would carry either into another month or year.
      {Replaced(sample, "<DTPOSTED>20261103", "<DTPOSTED>20261403"),
       "writes the date 20261403 in its DTPOSTED element, and that is no day of the calendar"},
      {Replaced(sample, "<DTPOSTED>20261103", "<DTPOSTED>00000231120000"), "date 00000231"},
  };
  for (const auto& c : cases) {
    const Result<Statement> statement = ReadOfxStatement(c.bytes);
    ASSERT_FALSE(statement.ok()) << c.bytes.substr(0, 80);
    EXPECT_EQ(statement.status().code(), c.code) << c.bytes.substr(0, 80);
    EXPECT_NE(statement.status().message().find(c.message), std::string::npos)
        << statement.status().message();
  }
  // Another format is not taken for a cut-off OFX.
  EXPECT_EQ(ReadOfxStatement(SampleBytes("us_checking.csv")).status().message(),
            "The file is not an OFX or QFX statement.");
}

TEST_F(OfxReaderTest, SamplesAreReadByOfxdumpToo) {
  if (!ToolInstalled("ofxdump"))
    GTEST_SKIP() << "ofxdump (package ofx) is not installed";
  for (const std::string sample : {"ofx1_checking.ofx", "ofx2_savings.ofx", "card.qfx"}) {
    const std::string output = testing::RunTool("ofxdump '" + SamplePath(sample) + "'").text;
    EXPECT_NE(output.find("ofx_proc_statement"), std::string::npos) << sample;
    EXPECT_EQ(output.find("ERROR"), std::string::npos) << sample << "\n" << output;
    const Statement statement = Read(sample);
    for (const StatementTransaction& transaction : statement.transactions)
      EXPECT_NE(output.find(transaction.id), std::string::npos) << sample << " " << transaction.id;
  }
}

}  // namespace
}  // namespace paylark

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/cli/cli_runner.h"
#include "tests/core/statements/household_year.h"

namespace paylark::testing {
namespace {

std::string OfxAmount(Cents cents) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%02lld", cents < 0 ? "-" : "",
                static_cast<long long>(std::llabs(cents) / 100),
                static_cast<long long>(std::llabs(cents) % 100));
  return text;
}

std::string OfxDay(const OleDateTime& date) {
  const CivilDateTime civil = date.ToCivil();
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", civil.year, civil.month, civil.day);
  return text;
}

// The statement as an OFX 2 file of a checking account.
void WriteOfx(const Statement& statement, const std::filesystem::path& path) {
  std::ofstream out(path);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\" OLDFILEUID=\"NONE\" "
         "NEWFILEUID=\"NONE\"?>\n"
         "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1</TRNUID><STATUS><CODE>0</CODE>"
         "<SEVERITY>INFO</SEVERITY></STATUS><STMTRS><CURDEF>GBP</CURDEF><BANKACCTFROM>"
         "<BANKID>601613</BANKID><ACCTID>31926819</ACCTID><ACCTTYPE>CHECKING</ACCTTYPE>"
         "</BANKACCTFROM><BANKTRANLIST><DTSTART>"
      << OfxDay(*statement.periodStart) << "</DTSTART><DTEND>" << OfxDay(*statement.periodEnd)
      << "</DTEND>\n";
  for (const StatementTransaction& transaction : statement.transactions) {
    out << "<STMTTRN><TRNTYPE>" << (transaction.amount < 0 ? "DEBIT" : "CREDIT")
        << "</TRNTYPE><DTPOSTED>" << OfxDay(transaction.bookingDate) << "</DTPOSTED><TRNAMT>"
        << OfxAmount(transaction.amount) << "</TRNAMT><FITID>" << transaction.id << "</FITID><NAME>"
        << transaction.counterparty << "</NAME>";
    if (!transaction.memo.empty())
      out << "<MEMO>" << transaction.memo << "</MEMO>";
    out << "</STMTTRN>\n";
  }
  out << "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

class SuggestCliTest : public ::testing::Test {
 protected:
  SuggestCliTest() { WriteOfx(HouseholdYear(), year_); }

  CliResult Run(const std::vector<std::string>& arguments) {
    return dir_.Run(arguments, {"TZ=Pacific/Auckland"});
  }

  TemporaryWorkingDirectory dir_;
  std::filesystem::path year_ = dir_.path() / "household.ofx";
};

TEST_F(SuggestCliTest, EachSeriesIsListedInWordsAndAsJsonWithThePatternTheSeriesCommandTakes) {
  const CliResult words = Run({"suggest", "series", year_.string()});
  ASSERT_EQ(words.exitCode, 0) << words.err;
  const std::vector<std::string> plain = Lines(words.out);
  ASSERT_EQ(plain.size(), 6u) << words.out;
  EXPECT_EQ(plain[0],
            "1\tHarbour Lettings Ltd\tmonthly on the 1st\t2026-12-01\t$950.00\tseen 13 times\t");
  EXPECT_EQ(plain[1],
            "2\tAcme Corp Payroll\tevery 2 weeks on Friday\t2026-12-04\t+$2,400.00\t"
            "seen 28 times\t");
  EXPECT_EQ(plain[4],
            "5\tTelco Mobile\tmonthly on the 20th\t2026-12-20\t$38.00 to $43.00\tseen 13 times\t");
  EXPECT_EQ(plain[5], "6\tHearth Insurance\tyearly on 15 Nov\t2027-11-15\t$480.00\tseen 2 times\t");

  const CliResult result = Run({"suggest", "series", year_.string(), "--json"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 6u) << result.out;
  EXPECT_TRUE(lines[0].starts_with(
      "[{\"n\": 1, \"title\": \"Harbour Lettings Ltd\", \"payTo\": \"Harbour Lettings Ltd\", "
      "\"account\": null, \"type\": \"Business\", \"pattern\": {\"kind\": \"month\", \"every\": "
      "1, \"day\": 1, \"weekend\": \"after\"}, \"next\": \"2026-12-01\", \"amount\": 950, "
      "\"min\": 950, \"max\": 950, \"seen\": 13, \"transactions\": [\"RENT-2025-11\", "))
      << lines[0];
  EXPECT_TRUE(lines[1].starts_with(
      " {\"n\": 2, \"title\": \"Acme Corp Payroll\", \"payTo\": \"Acme Corp Payroll\", "
      "\"account\": null, \"type\": \"Income\", \"pattern\": {\"kind\": \"week\", \"every\": 2, "
      "\"on\": \"Fri\", \"weekend\": \"keep\"}, \"next\": \"2026-12-04\""))
      << lines[1];
  EXPECT_NE(lines[4].find("\"title\": \"Telco Mobile\""), std::string::npos) << lines[4];
  EXPECT_NE(lines[4].find("\"amount\": 40.5, \"min\": 38, \"max\": 43, \"seen\": 13"),
            std::string::npos);
  EXPECT_NE(lines[5].find("\"pattern\": {\"kind\": \"year\", \"every\": 1, \"month\": "
                          "\"November\", \"day\": 15, \"weekend\": \"after\"}, \"next\": "
                          "\"2027-11-15\""),
            std::string::npos)
      << lines[5];
  EXPECT_TRUE(lines[5].ends_with("]"));
  EXPECT_NE(result.err.find("395 days of bank history, from 1 Nov 2025 to 30 Nov 2026."),
            std::string::npos)
      << result.err;
}

// That the statement then imports nothing twice and the series is not proposed again is
// suggested_series_creation_test's (ImportingTheSameStatementAfterwards...,
// ACreatedSeriesIsNot...).
TEST_F(SuggestCliTest, CreatingWritesTheSeriesWithItsPastPaid) {
  CliResult result = Run({"suggest", "series", year_.string(), "--create", "1,5", "--count", "3"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 8u) << result.out;
  EXPECT_TRUE(lines[1].starts_with("created\trecId")) << lines[1];
  EXPECT_TRUE(lines[1].ends_with("\t3 upcoming, 13 paid")) << lines[1];
  EXPECT_TRUE(lines[6].ends_with("\t3 upcoming, 13 paid")) << lines[6];

  result = Run({"list", "--month", "2026-12"});
  EXPECT_NE(result.out.find("\t2026-12-01 00:00\tHarbour Lettings Ltd\tHarbour Lettings "
                            "Ltd\t$950.00\tUnpaid"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("\t2026-12-20 00:00\tTelco Mobile\tTelco Mobile\t$40.50\tUnpaid"),
            std::string::npos);
  result = Run({"list", "--month", "2026-03"});
  EXPECT_NE(result.out.find("\t2026-03-02 00:00\tHarbour Lettings Ltd\tHarbour Lettings "
                            "Ltd\t$950.00\tPaid"),
            std::string::npos)
      << result.out;
}

// A file that is no statement is invalid input; a missing one fails.
TEST_F(SuggestCliTest, BadChoicesAndFilesWriteNothing) {
  const CliResult result = Run({"suggest", "series", year_.string(), "--create", "2,7"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("there is no suggestion 7 (of 6)"), std::string::npos) << result.err;
  EXPECT_EQ(Run({"list", "--month", "2026-12"}).out.find("Acme"), std::string::npos);
  EXPECT_EQ(Run({"suggest", "series", year_.string(), "--create", "x"}).exitCode, 2);
  EXPECT_EQ(Run({"suggest", "series"}).exitCode, 2);
  const std::filesystem::path notes = dir_.path() / "notes.txt";
  std::ofstream(notes) << "nothing to see\n";
  EXPECT_EQ(Run({"suggest", "series", notes.string()}).exitCode, 2);
  EXPECT_EQ(Run({"suggest", "series", (dir_.path() / "missing.ofx").string()}).exitCode, 1);
}

TEST_F(SuggestCliTest, ABankCsvIsReadWithTheColumnsGivenOnceAndTheBanksDates) {
  const std::filesystem::path csv = dir_.path() / "umsaetze.csv";
  std::ofstream out(csv);
  out << "Date,Payee,Amount\n";
  for (const StatementTransaction& transaction : HouseholdYear().transactions) {
    const CivilDateTime day = transaction.bookingDate.ToCivil();
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", day.year, day.month, day.day);
    out << date << ',' << transaction.counterparty << ',' << OfxAmount(transaction.amount) << '\n';
  }
  out.close();
  const std::vector<std::string> zone = {"TZ=America/Los_Angeles"};
  CliResult result = dir_.Run({"suggest", "series", csv.string()}, zone);
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("--columns"), std::string::npos) << result.err;
  result = dir_.Run(
      {"suggest", "series", csv.string(), "--columns", "date=1,counterparty=2,amount=3"}, zone);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  ASSERT_EQ(Lines(result.out).size(), 6u) << result.out;
  EXPECT_EQ(Lines(result.out)[0],
            "1\tHarbour Lettings Ltd\tmonthly on the 1st\t2026-12-01\t$950.00\tseen 13 times\t");
  // Remembered for the header line.
  EXPECT_EQ(dir_.Run({"suggest", "series", csv.string()}, zone).out, result.out);
}

}  // namespace
}  // namespace paylark::testing

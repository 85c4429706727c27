#include "core/statements/camt_reader.h"

#include <gtest/gtest.h>

#include "tests/core/statements/statement_samples.h"

namespace paylark {
namespace {

constexpr std::string_view kVersion02 = "camt.053.001.02";

Statement Read(const std::string& bytes) {
  Result<Statement> statement = ReadCamtStatement(bytes);
  EXPECT_TRUE(statement.ok()) << statement.status().message();
  return statement.ok() ? statement.value() : Statement{};
}

std::string WithNamespace(std::string bytes, const std::string& message) {
  bytes.replace(bytes.find(kVersion02), kVersion02.size(), message);
  return bytes;
}

TEST(CamtReaderTest, ReadsVersion02WithBatchReversalAndPendingEntry) {
  const Statement statement = Read(SampleBytes("camt053_v02.xml"));
  EXPECT_EQ(statement.bankAccount, "DE02120300000000202051");
  EXPECT_EQ(statement.periodStart, Day(2026, 11, 1));
  EXPECT_EQ(statement.periodEnd, Day(2026, 11, 30));
  EXPECT_EQ(statement.closingBalance, (StatementBalance{Day(2026, 11, 30), 124000}));
  ASSERT_EQ(statement.transactions.size(), 5U);
  const std::vector<StatementTransaction> expected = {
      {"NTRY-0001", Day(2026, 11, 2), -8990, "Stadtwerke Nordhafen",
       "Abschlag Strom November Kundennr. 4471", "", "", ""},
      // The batch: one transaction per detail; NOTPROVIDED is no ID.
      {"NTRY-0002/1", Day(2026, 11, 5), -12000, "Hausverwaltung Lindenhof", "Nebenkosten November",
       "", "", ""},
      {"BATCH-0002-B", Day(2026, 11, 5), -6010, "Kraftfahrt Versicherung AG", "Kfz-Versicherung",
       "", "", ""},
      // A credit's counterparty is its debtor.
      {"NTRY-0003", Day(2026, 11, 27), 210000, "Hafenbau GmbH", "Gehalt November", "", "", ""},
      // The reversal keeps the bank's sign; the pending entry after it is no booking.
      {"NTRY-0004", Day(2026, 11, 6), 8990, "", "Rueckbuchung Lastschrift", "", "", ""},
  };
  EXPECT_EQ(statement.transactions, expected);
}

TEST(CamtReaderTest, ReadsVersion08WithPartyNamesAndDateTimes) {
  const Statement statement = Read(SampleBytes("camt053_v08.xml"));
  EXPECT_EQ(statement.bankAccount, "CH-ACC-558822");
  EXPECT_EQ(statement.periodStart, Day(2026, 12, 1));
  EXPECT_EQ(statement.periodEnd, Day(2026, 12, 31));
  EXPECT_EQ(statement.closingBalance, (StatementBalance{Day(2026, 12, 31), -31245}));
  const std::vector<StatementTransaction> expected = {
      {"CH-20261201-77", Day(2026, 12, 1), -195000, "Immobilien Seeblick AG", "Miete Dezember", "",
       "", ""},
      {"CH-20261215-03-1", Day(2026, 12, 15), -20000, "Krankenkasse Alpina", "Praemie Dezember", "",
       "", ""},
      {"TEL-DEZ-2026", Day(2026, 12, 15), -4530, "Bergnetz Telecom", "Rechnung 2026-12", "", "",
       ""},
      {"CH-20261224-11", Day(2026, 12, 24), 410000, "Uhrenwerk Jura SA", "Lohn Dezember", "", "",
       ""},
  };
  EXPECT_EQ(statement.transactions, expected);
}

// The namespace of every version from 02 to 08 is read; other messages and versions are refused
// by name.
TEST(CamtReaderTest, OnlyCamt053Versions02To08AreRead) {
  const std::string sample = SampleBytes("camt053_v02.xml");
  for (int version = 2; version <= 8; ++version) {
    const std::string message = "camt.053.001.0" + std::to_string(version);
    const Result<Statement> statement = ReadCamtStatement(WithNamespace(sample, message));
    ASSERT_TRUE(statement.ok()) << message << ": " << statement.status().message();
    EXPECT_EQ(statement.value().transactions.size(), 5U) << message;
  }
  const struct {
    std::string message;
    std::string said;
  } cases[] = {{"camt.053.001.01", "001.01"},
               {"camt.053.001.09", "001.09"},
               {"camt.052.001.02", "camt.052.001.02"},
               {"camt.054.001.08", "camt.054.001.08"}};
  for (const auto& [message, said] : cases) {
    const Result<Statement> statement = ReadCamtStatement(WithNamespace(sample, message));
    ASSERT_FALSE(statement.ok()) << message;
    EXPECT_NE(statement.status().message().find(said), std::string::npos)
        << statement.status().message();
  }
  const Result<Statement> unrelated = ReadCamtStatement("<?xml version=\"1.0\"?><rss/>");
  ASSERT_FALSE(unrelated.ok());
  EXPECT_NE(unrelated.status().message().find("not a CAMT.053"), std::string::npos);
}

TEST(CamtReaderTest, EntitiesAreNeverExpandedOrFetched) {
  const std::string external =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE Document [<!ENTITY secret SYSTEM "
      "\"file:///etc/passwd\">]>\n<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001."
      "02\"><BkToCstmrStmt><Stmt><Acct><Id><IBAN>&secret;</IBAN></Id></Acct></Stmt>"
      "</BkToCstmrStmt></Document>";
  std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n";
  for (int level = 1; level <= 9; ++level) {
    laughs += "<!ENTITY lol" + std::to_string(level) + " \"";
    for (int copy = 0; copy < 10; ++copy)
      laughs += "&lol" + (level == 1 ? std::string() : std::to_string(level - 1)) + ";";
    laughs += "\">\n";
  }
  laughs +=
      "]>\n<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\"><x>&lol9;</x>"
      "</Document>";
  for (const std::string& bytes : {external, laughs}) {
    const Result<Statement> statement = ReadCamtStatement(bytes);
    ASSERT_FALSE(statement.ok());
    EXPECT_EQ(statement.status().code(), StatusCode::kInvalidArgument);
    EXPECT_NE(statement.status().message().find("document type"), std::string::npos);
  }
}

TEST(CamtReaderTest, CutOffOrBrokenFilesAreRefused) {
  const std::string sample = SampleBytes("camt053_v02.xml");
  for (const std::string& bytes :
       {sample.substr(0, sample.size() / 2), std::string(""), std::string("not xml at all")}) {
    const Result<Statement> statement = ReadCamtStatement(bytes);
    EXPECT_FALSE(statement.ok()) << bytes.substr(0, 60);
  }
  // An entry without an amount fails with its number.
  std::string entryWithout = sample;
  const std::string amount = "<Amt Ccy=\"EUR\">180.10</Amt>";
  entryWithout.replace(entryWithout.find(amount), amount.size(), "");
  EXPECT_EQ(ReadCamtStatement(entryWithout).status().message(),
            "Entry 2 of the statement has no booking date or no amount.");
}

TEST(CamtReaderTest, SamplesAreWellFormedForXmllintToo) {
  if (!ToolInstalled("xmllint"))
    GTEST_SKIP() << "xmllint (package libxml2-utils) is not installed";
  for (const std::string sample : {"camt053_v02.xml", "camt053_v08.xml"})
    EXPECT_EQ(testing::RunTool("xmllint --noout --nonet '" + SamplePath(sample) + "'").exitCode, 0)
        << sample;
}

}  // namespace
}  // namespace paylark

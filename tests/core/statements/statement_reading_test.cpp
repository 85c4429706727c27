#include "core/statements/statement_reading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/core/statements/statement_samples.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/scratch_folder.h"

namespace paylark {
namespace {

TEST(StatementReadingTest, FormatComesFromTheFirstBytes) {
  const struct {
    std::string head;
    std::optional<StatementFormat> format;
  } cases[] = {
      {SampleBytes("ofx1_checking.ofx"), StatementFormat::kOfx},
      {SampleBytes("ofx2_savings.ofx"), StatementFormat::kOfx},
      {SampleBytes("card.qfx"), StatementFormat::kOfx},
      {"\xEF\xBB\xBF  <ofx>", StatementFormat::kOfx},
      {SampleBytes("camt053_v02.xml"), StatementFormat::kCamt},
      {SampleBytes("camt053_v08.xml"), StatementFormat::kCamt},
      {SampleBytes("german_giro.csv"), StatementFormat::kCsv},
      {SampleBytes("german_giro_windows1252.csv"), StatementFormat::kCsv},
      {SampleBytes("us_checking.csv"), StatementFormat::kCsv},
      {"<?xml version=\"1.0\"?><html/>", std::nullopt},
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), std::nullopt},
      {"Dear customer, thank you.", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [head, format] : cases)
    EXPECT_EQ(DetectStatementFormat(head), format) << head.substr(0, 40);
}

TEST(StatementReadingTest, EverySampleReadsThroughTheFileSystem) {
  MemoryFileSystem files;
  for (const std::string sample :
       {"ofx1_checking.ofx", "ofx2_savings.ofx", "card.qfx", "camt053_v02.xml", "camt053_v08.xml",
        "german_giro.csv", "us_checking.csv", "uk_current.csv"}) {
    files.Put("/statements/" + sample, SampleBytes(sample));
    std::optional<BankCsvColumns> columns;
    if (sample.ends_with(".csv"))
      columns = DetectBankCsvShape(SampleBytes(sample)).value().guessedColumns;
    const Result<Statement> statement =
        ReadStatement(files, "/statements/" + sample, std::nullopt, columns);
    ASSERT_TRUE(statement.ok()) << sample << ": " << statement.status().message();
    EXPECT_GE(statement.value().transactions.size(), 3U) << sample;
  }
}

TEST(StatementReadingTest, FailuresSayWhatIsWrong) {
  MemoryFileSystem files;
  files.Put("/s/picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  files.Put("/s/bank.csv", SampleBytes("uk_current.csv"));
  files.PutOther("/s/fifo");
  files.Put("/s/unreadable.ofx", SampleBytes("card.qfx"));
  files.FailRead("/s/unreadable.ofx", EACCES);
  const struct {
    std::string path;
    std::string said;
  } cases[] = {
      {"/s/picture.png", "not a bank statement"},
      {"/s/bank.csv", "needs its columns"},
      {"/s/fifo", "is not a file"},
      {"/s/missing.ofx", ""},
      {"/s/unreadable.ofx", ""},
  };
  for (const auto& [path, said] : cases) {
    const Result<Statement> statement = ReadStatement(files, path, std::nullopt);
    ASSERT_FALSE(statement.ok()) << path;
    EXPECT_NE(statement.status().message().find(said), std::string::npos)
        << path << ": " << statement.status().message();
  }
}

// Cents hold no more than 9.2e16, and a booking of -1e300 once showed as -92 quadrillion: an
// amount beyond ten trillion refuses the statement, in every format, with one message.
TEST(StatementReadingTest, AmountsBeyondTenTrillionAreRefused) {
  const auto replaced = [](const std::string& sample, const std::string& from,
                           const std::string& to) {
    std::string bytes = SampleBytes(sample);
    const std::size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << sample << ": " << from;
    return at == std::string::npos ? bytes : bytes.replace(at, from.size(), to);
  };
  const struct {
    std::string bytes;
    std::string whose;
  } cases[] = {
      {replaced("ofx1_checking.ofx", "<TRNAMT>-1250.00", "<TRNAMT>-1e300"), "the booking of"},
      {replaced("ofx1_checking.ofx", "<TRNAMT>-84.37", "<TRNAMT>-10000000000000.01"),
       "the booking of"},
      {replaced("camt053_v02.xml", ">1240.00<", ">10000000000001.00<"),
       "the closing balance of 2026-11-30"},
      {replaced("camt053_v02.xml", ">89.90<", ">123456789012345678901234567890.00<"),
       "the booking of 2026-11-02"},
      {replaced("us_checking.csv", "1450.00", "\"99,999,999,999,999.00\""),
       "the booking of 2026-11-02"},
  };
  for (const auto& [bytes, whose] : cases) {
    std::optional<BankCsvColumns> columns;
    if (!DetectStatementFormat(bytes).has_value() ||
        *DetectStatementFormat(bytes) == StatementFormat::kCsv)
      columns = DetectBankCsvShape(bytes).value().guessedColumns;
    const Result<Statement> statement = ReadStatementBytes(bytes, std::nullopt, columns);
    ASSERT_FALSE(statement.ok()) << whose;
    EXPECT_EQ(statement.status().message().find("The amount of " + whose), 0u)
        << statement.status().message();
    EXPECT_NE(statement.status().message().find("beyond 10,000,000,000,000 (ten trillion)"),
              std::string::npos);
  }
  // The limit itself is kept.
  const std::string atLimit = replaced("us_checking.csv", "1450.00", "\"10,000,000,000,000.00\"");
  const Result<Statement> kept =
      ReadStatementBytes(atLimit, std::nullopt, DetectBankCsvShape(atLimit).value().guessedColumns);
  ASSERT_TRUE(kept.ok()) << kept.status().message();
  EXPECT_EQ(kept.value().transactions[0].amount, -1'000'000'000'000'000);
}

TEST(StatementReadingTest, HugeFileIsRefusedWithoutBeingRead) {
  const testing::ScratchFolder folder;
  const std::string path = folder.PathOf("huge.ofx");
  {
    std::ofstream out(path, std::ios::binary);
    out << "OFXHEADER:100\r\n";
  }
  // A sparse 200 MB file: reading it into memory is what must not happen.
  std::filesystem::resize_file(path, 200U << 20);
  const Result<Statement> statement = ReadStatement(SystemFileSystem(), path, std::nullopt);
  ASSERT_FALSE(statement.ok());
  EXPECT_EQ(statement.status().message(),
            path + " is 200 MiB, larger than a bank statement can be (64 MiB).");
}

}  // namespace
}  // namespace paylark

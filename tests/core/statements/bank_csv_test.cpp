#include <gtest/gtest.h>

#include "core/base/amount_limit.h"
#include "core/statements/bank_csv_columns_text.h"
#include "core/statements/bank_csv_dates.h"
#include "core/statements/bank_csv_reader.h"
#include "core/statements/statement_amount.h"
#include "core/statements/statement_reading.h"
#include "tests/core/statements/statement_samples.h"

namespace paylark {
namespace {

BankCsvShape Shape(const std::string& bytes) {
  Result<BankCsvShape> shape = DetectBankCsvShape(bytes);
  EXPECT_TRUE(shape.ok()) << shape.status().message();
  return shape.ok() ? shape.value() : BankCsvShape{};
}

// The columns as the user names them, counted from 1.
BankCsvColumns Columns(const std::string& text) {
  return ParseColumnsText(text).value();
}

Statement Read(const std::string& bytes, const BankCsvColumns& columns) {
  Result<Statement> statement = ReadBankCsvStatement(bytes, columns);
  EXPECT_TRUE(statement.ok()) << statement.status().message();
  return statement.ok() ? statement.value() : Statement{};
}

TEST(BankCsvTest, GermanExportWithPreambleAndClosingLine) {
  const BankCsvShape shape = Shape(SampleBytes("german_giro.csv"));
  EXPECT_EQ(shape.separator, ';');
  EXPECT_EQ(shape.decimalMark, ',');
  EXPECT_EQ(shape.dateForm, "dd.mm.yyyy");
  EXPECT_EQ(shape.encoding, "UTF-8");
  EXPECT_EQ(shape.headerLine,
            "\"Buchungstag\";\"Wertstellung\";\"Auftraggeber/Empfänger\";\"Verwendungszweck\";"
            "\"Betrag (EUR)\";\"Kundenreferenz\"");
  ASSERT_EQ(shape.sampleRows.size(), 5U);
  EXPECT_EQ(shape.sampleRows[0][2], "Stadtwerke Nordhafen");
  const BankCsvColumns guessed =
      Columns("date=1,amount=5,counterparty=3,description=4,reference=6");
  EXPECT_EQ(shape.guessedColumns, guessed);

  const Statement statement = Read(SampleBytes("german_giro.csv"), guessed);
  EXPECT_EQ(statement.account, "");
  EXPECT_EQ(statement.periodStart, Day(2026, 11, 3));
  EXPECT_EQ(statement.periodEnd, Day(2026, 11, 27));
  EXPECT_FALSE(statement.closingBalance);
  ASSERT_EQ(statement.transactions.size(), 5U);
  const std::vector<Cents> amounts = {-8990, -125000, -450, -450, 210000};
  for (std::size_t index = 0; index < amounts.size(); ++index)
    EXPECT_EQ(statement.transactions[index].amount, amounts[index]) << index;
  EXPECT_EQ(statement.transactions[0].bookingDate, Day(2026, 11, 3));
  EXPECT_EQ(statement.transactions[0].memo, "Abschlag Strom November; INV-77120");
  EXPECT_EQ(statement.transactions[2].counterparty, "Bäckerei Körner");
  EXPECT_EQ(statement.transactions[2].memo, "Kartenzahlung");
  EXPECT_EQ(statement.transactions[4].bookingDate, Day(2026, 11, 27));
  // Two identical rows: the same fingerprint, told apart by their occurrence.
  const std::string& first = statement.transactions[2].id;
  const std::string& second = statement.transactions[3].id;
  ASSERT_EQ(first.size(), 18U);
  EXPECT_EQ(first.substr(0, 16), second.substr(0, 16));
  EXPECT_EQ(first.substr(16), "-1");
  EXPECT_EQ(second.substr(16), "-2");
}

TEST(BankCsvTest, WindowsEncodedExportReadsAsItsUtf8Twin) {
  const BankCsvShape shape = Shape(SampleBytes("german_giro_windows1252.csv"));
  EXPECT_EQ(shape.encoding, "Windows-1252");
  EXPECT_EQ(shape.headerLine, Shape(SampleBytes("german_giro.csv")).headerLine);
  const Statement legacy = Read(SampleBytes("german_giro_windows1252.csv"), shape.guessedColumns);
  const Statement utf8 = Read(SampleBytes("german_giro.csv"), shape.guessedColumns);
  EXPECT_EQ(legacy.transactions, utf8.transactions);
}

// Comma separated with point decimals: the US export month first with debit and credit columns,
// the UK one day first with one signed amount.
TEST(BankCsvTest, UsAndUkExportsWithTheirDateOrderAndAmountColumns) {
  const struct {
    const char* sample;
    const char* dateForm;
    BankCsvColumns guessed;
    std::vector<StatementTransaction> expected;  // without their IDs
  } cases[] = {
      {"us_checking.csv",
       "mm/dd/yyyy",
       Columns("date=1,debit=3,credit=4,description=2"),
       {{"", Day(2026, 11, 2), -145000, "", "ACME PROPERTY MGMT RENT", "", "", ""},
        {"", Day(2026, 11, 14), -6210, "", "NORTHWIND MOBILE", "", "", ""},
        {"", Day(2026, 11, 15), 320000, "", "HARBOR TOOLS PAYROLL", "", "", ""},
        {"", Day(2026, 11, 28), -4125, "", "CITY WATER, SEWER", "", "", ""}}},
      {"uk_current.csv",
       "dd/mm/yyyy",
       Columns("date=1,amount=5,counterparty=3,reference=4"),
       {{"", Day(2026, 12, 1), -3850, "Thames Valley Water", "WTR-55102", "", "", ""},
        {"", Day(2026, 12, 5), -72500, "Mrs J Allen", "RENT DEC", "", "", ""},
        {"", Day(2026, 12, 15), 231000, "Kestrel Analytics Ltd", "SALARY", "", "", ""},
        {"", Day(2026, 12, 24), -320, "Corner Shop", "", "", "", ""}}},
  };
  for (const auto& c : cases) {
    const BankCsvShape shape = Shape(SampleBytes(c.sample));
    EXPECT_EQ(shape.separator, ',') << c.sample;
    EXPECT_EQ(shape.decimalMark, '.') << c.sample;
    EXPECT_EQ(shape.dateForm, c.dateForm) << c.sample;
    EXPECT_EQ(shape.guessedColumns, c.guessed) << c.sample;
    std::vector<StatementTransaction> read = Read(SampleBytes(c.sample), c.guessed).transactions;
    for (StatementTransaction& transaction : read)
      transaction.id.clear();
    EXPECT_EQ(read, c.expected) << c.sample;
  }
}

TEST(BankCsvTest, OverlappingExportsGiveTheSameRowsTheSameIds) {
  const std::string header = "Date;Amount;Payee\n";
  const std::string november = "02.11.2026;-5,00;Kiosk\n02.11.2026;-5,00;Kiosk\n";
  const std::string december = "01.12.2026;-7,00;Kino\n";
  const BankCsvColumns columns = Columns("date=1,amount=2,counterparty=3");
  const Statement first = Read(header + november, columns);
  const Statement both = Read(header + november + december, columns);
  ASSERT_EQ(both.transactions.size(), 3U);
  EXPECT_EQ(both.transactions[0].id, first.transactions[0].id);
  EXPECT_EQ(both.transactions[1].id, first.transactions[1].id);
  EXPECT_NE(both.transactions[0].id, both.transactions[1].id);
}

TEST(BankCsvTest, DebitCreditMarkGivesTheSign) {
  const BankCsvColumns columns = Columns("date=1,amount=2,mark=3");
  const Statement statement =
      Read("Buchungstag;Umsatz;Soll/Haben\n01.10.2026;12,50;S\n02.10.2026;100,00;H\n", columns);
  ASSERT_EQ(statement.transactions.size(), 2U);
  EXPECT_EQ(statement.transactions[0].amount, -1250);
  EXPECT_EQ(statement.transactions[1].amount, 10000);
}

TEST(BankCsvTest, BadRowsAndColumnsFailWithAReason) {
  const BankCsvColumns columns = Columns("date=1,amount=2");
  const BankCsvColumns dateOnly = Columns("date=1");
  const BankCsvColumns beyond = Columns("date=1,amount=8");
  const struct {
    std::string text;
    BankCsvColumns columns;
    std::string message;
  } cases[] = {
      {"Date,Amount\n2026-01-05,12.00\n2026-01-06,twelve\n", columns,
       "Row 3: \"twelve\" is not an amount."},
      {"Date,Amount\n2026-01-05,12.00\n2026-01-06,\"12.00\"x\n", columns, "Row 3: "},
      {"Date,Amount,Memo\n2026-01-05,12.00,a\n2026-01-06,1,5,b\n2026-01-07,2,c\n", columns,
       "Row 3: it has 4 fields where the header has 3."},
      {"Date,Amount\n2026-01-05,12.00\n", dateOnly, "Choose the column"},
      {"Date,Amount\n2026-01-05,12.00\n", beyond,
       "Column 8 was chosen, but the file has 2 columns."},
      {"Name,Amount\nAnna,12.00\n", columns, "No column of the file holds dates"},
      {"just one column\nand another line\n", columns, "no columns"},
      {std::string("Date,Amount\n\x81\x8d,1\n"), columns, "encoding"},
  };
  for (const auto& [text, chosen, message] : cases) {
    const Result<Statement> statement = ReadBankCsvStatement(text, chosen);
    ASSERT_FALSE(statement.ok()) << text;
    EXPECT_NE(statement.status().message().find(message), std::string::npos)
        << text << " gave: " << statement.status().message();
  }
}

TEST(BankCsvTest, Utf16ExportIsConverted) {
  const std::string text = "Date\tAmount\n2026-03-01\t-9.99\n";
  std::string bytes = "\xFF\xFE";
  for (const char c : text) {
    bytes += c;
    bytes += '\0';
  }
  const BankCsvShape shape = Shape(bytes);
  EXPECT_EQ(shape.encoding, "UTF-16");
  EXPECT_EQ(shape.separator, '\t');
  const Statement statement = Read(bytes, shape.guessedColumns);
  ASSERT_EQ(statement.transactions.size(), 1U);
  EXPECT_EQ(statement.transactions[0].amount, -999);
}

TEST(BankDateFormTest, FormComesFromEveryRow) {
  const struct {
    std::vector<std::string> column;
    std::string form;
  } cases[] = {
      {{"01/02/2026", "03/02/2026", "13/02/2026"}, "dd/mm/yyyy"},
      {{"01/02/2026", "01/03/2026", "01/13/2026"}, "mm/dd/yyyy"},
      // Either way round: the order that keeps the column in date order wins.
      {{"01/02/2026", "02/01/2026", "02/03/2026"}, "mm/dd/yyyy"},
      {{"02/01/2026", "01/02/2026", "03/02/2026"}, "dd/mm/yyyy"},
      // Both readings in date order: the day comes first.
      {{"01/02/2026", "01/03/2026", "01/04/2026"}, "dd/mm/yyyy"},
      {{"2026-12-31", "", "Saldo"}, "yyyy-mm-dd"},
      {{"31.12.26", "01.01.27"}, "dd.mm.yy"},
      {{"2026-11-03T10:15:00", "2026-11-04 08:00"}, "yyyy-mm-dd"},
  };
  for (const auto& [column, form] : cases) {
    const std::optional<BankDateForm> found = DetectBankDateForm({{"x", "y", "z"}, column});
    ASSERT_TRUE(found) << form;
    EXPECT_EQ(found->Name(), form);
  }
  EXPECT_FALSE(DetectBankDateForm({{"12.50", "7"}, {"13/13/2026"}}));
}

TEST(StatementAmountTest, ReadsTheWaysBanksWriteAmounts) {
  const struct {
    std::string text;
    char mark;
    std::optional<Cents> cents;
  } cases[] = {
      {"1250.00", '.', 125000},
      {"-84,37", ',', -8437},
      {"1.234,56 EUR", ',', 123456},
      {"$1,234.50", '.', 123450},
      {"12,50-", ',', -1250},
      {"(12.50)", '.', -1250},
      {"+3200", '.', 320000},
      {"-.99", '.', -99},
      {"0.005", '.', 1},
      {"1 234,5", ',', 123450},
      {"\u20ac 9,99", ',', 999},
      {"", '.', std::nullopt},
      {"1\u00a0234,56", ',', 123456},
      {"1,2,3", ',', std::nullopt},
      {"abc", '.', std::nullopt},
      {"10000000000000", '.', kMaxAmountCents},
      // Beyond the limit: past it, for CheckStatementAmounts to refuse with its message.
      {"99999999999999", '.', kMaxAmountCents + 100},
      {"1" + std::string(40, '0'), '.', kMaxAmountCents + 100},
  };
  for (const auto& [text, mark, cents] : cases)
    EXPECT_EQ(ParseStatementAmount(text, mark), cents) << text;
}

}  // namespace
}  // namespace paylark

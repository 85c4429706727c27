#include "core/exchange/csv_text.h"

#include <gtest/gtest.h>

#include "core/exchange/csv_export.h"

namespace paylark {
namespace {

std::vector<CsvRow> ReadAll(std::string_view text) {
  CsvReader reader(text);
  std::vector<CsvRow> rows;
  for (CsvRow row; reader.Next(row);)
    rows.push_back(row);
  return rows;
}

using Fields = std::vector<std::string>;

TEST(CsvTextTest, FieldsAreQuotedOnlyWhenTheyMustBe) {
  std::string out;
  AppendCsvRow(out, {"plain", "a,b", "say \"hi\"", "two\r\nlines", "", "lf\nonly"});
  EXPECT_EQ(out, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",,\"lf\nonly\"\r\n");
  const auto rows = ReadAll(out);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].fields, (Fields{"plain", "a,b", "say \"hi\"", "two\r\nlines", "", "lf\nonly"}));
}

TEST(CsvTextTest, ReadsEveryLineEndAByteOrderMarkAndALastRowWithoutLineEnd) {
  const auto rows = ReadAll("\xEF\xBB\xBFh1,h2\r\na,b\nc,d\re,\"f\"");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].fields, (Fields{"h1", "h2"}));
  EXPECT_EQ(rows[2].fields, (Fields{"c", "d"}));
  EXPECT_EQ(rows[3].fields, (Fields{"e", "f"}));
  EXPECT_EQ(rows[3].number, 4u);
  for (const CsvRow& row : rows)
    EXPECT_FALSE(row.problem) << row.number;
}

TEST(CsvTextTest, BadRowsAreReportedAndReadingGoesOn) {
  struct Case {
    std::string text;
    MessageId problem;
  };
  const Case cases[] = {
      {"a,\"b\"x,c\r\nnext\r\n", MessageId::kCsvStrayQuote},
      {"a,\xFF\xFE,c\r\nnext\r\n", MessageId::kCsvNotUtf8},
      {"a," + std::string(kCsvFieldLimit + 10, 'x') + ",c\r\nnext\r\n",
       MessageId::kCsvFieldTooLong},
      {"a,b" + std::string(3 * kCsvFieldCountLimit, ',') + "\r\nnext\r\n",
       MessageId::kCsvRowTooLong},
  };
  for (const Case& c : cases) {
    const auto rows = ReadAll(c.text);
    ASSERT_EQ(rows.size(), 2u) << c.text.substr(0, 20);
    ASSERT_TRUE(rows[0].problem) << c.text.substr(0, 20);
    EXPECT_EQ(rows[0].problem->id, c.problem) << c.text.substr(0, 20);
    EXPECT_LE(rows[0].fields[1].size(), kCsvFieldLimit);
    EXPECT_LE(rows[0].fields.size(), kCsvFieldCountLimit);
    EXPECT_FALSE(rows[1].problem);
    EXPECT_EQ(rows[1].fields, Fields{"next"});
  }
  const auto open = ReadAll("a,\"never closed\r\nb,c\r\n");
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].problem->id, MessageId::kCsvUnclosedQuote);
}

TEST(CsvTextTest, ExportWritesTheHeaderAndDuesInDueDateOrder) {
  DueRecord late;
  late.recordId = "2026120514302510";
  late.title = "Rent, flat";
  late.dueDate = *OleDateTime::FromCivil(2026, 12, 5, 9, 30);
  late.startDate = *OleDateTime::FromCivil(2026, 12, 1);
  late.amount = 1234.5;
  late.notes = "line 1\r\n\"quoted\"";
  DueRecord early = late;
  early.recordId = "2026120514302601";
  early.title = "Gas";
  early.dueDate = *OleDateTime::FromCivil(2026, 12, 1, 0, 0, 7);
  early.type = kTypePersonal;
  early.paid = 1;
  early.seriesId = "recId20261205143026";
  early.notes.clear();
  early.paidOn = *OleDateTime::FromCivil(2026, 11, 30, 8, 15);
  early.paidAmount = 1240.1;
  early.paymentReference = "-FITID 7";
  EXPECT_EQ(RenderCsv({late, early}),
            "ID,Title,Pay To,Account,Amount,Due,Start,Type,Status,Series,Notes,Paid On,Paid Amount,"
            "Reference\r\n"
            "2026120514302601,Gas,,,1234.50,2026-12-01 00:00:07,2026-12-01 00:00:00,Personal,Paid,"
            "recId20261205143026,,2026-11-30 08:15:00,1240.10,'-FITID 7\r\n"
            "2026120514302510,\"Rent, flat\",,,1234.50,2026-12-05 09:30:00,2026-12-01 00:00:00,"
            "Business,Unpaid,,\"line 1\r\n\"\"quoted\"\"\",,,\r\n");
}

// A bank's reference may hold any byte; an escape sequence once went raw into the export.
TEST(CsvTextTest, ControlCharactersOfOneLineValuesAreReplaced) {
  DueRecord due;
  due.recordId = "2026120514302510";
  due.title = "Gas\tbill";
  due.payTo = "Stadtwerke\x7f";
  due.dueDate = *OleDateTime::FromCivil(2026, 12, 5);
  due.startDate = due.dueDate;
  due.notes = "line 1\r\nline 2";
  due.paymentReference = std::string("REF\x1b[2J\r\n\0x\xc2\x85,\"q\"", 17);
  const std::string csv = RenderCsv({due});
  const std::string rows = csv.substr(csv.find("\r\n") + 2);
  EXPECT_EQ(rows,
            "2026120514302510,Gas\xEF\xBF\xBD"
            "bill,Stadtwerke\xEF\xBF\xBD,,0.00,2026-12-05 00:00:00,2026-12-05 00:00:00,Business,"
            "Unpaid,,\"line 1\r\nline 2\",,,\"REF\xEF\xBF\xBD[2J\xEF\xBF\xBD\xEF\xBF\xBD"
            "\xEF\xBF\xBDx\xEF\xBF\xBD,\"\"q\"\"\"\r\n");
  EXPECT_EQ(CsvLineText("-\x01"), "'-\xEF\xBF\xBD");
  EXPECT_EQ(CsvLineText("caf\xC3\xA9 \xC2\xA0"), "caf\xC3\xA9 \xC2\xA0");  // letters stay
}

TEST(CsvTextTest, TheSeparatorIsWhatTheHeaderLineHoldsMostOf) {
  EXPECT_EQ(DetectCsvSeparator("Title,Due,Amount\r\na;b;c;d;e,1,2\r\n"), ',');
  EXPECT_EQ(DetectCsvSeparator("\"Title, long\";Due;Amount\r\n"), ';');
  EXPECT_EQ(DetectCsvSeparator("Title\tDue\tPay To, Account\n"), '\t');
  EXPECT_EQ(DetectCsvSeparator("Due\r\n2026-12-01;1\r\n"), ',');
  CsvReader reader("a;\"b;c\";d\r\n", ';');
  CsvRow row;
  ASSERT_TRUE(reader.Next(row));
  EXPECT_EQ(row.fields, (Fields{"a", "b;c", "d"}));
}

TEST(CsvTextTest, FormulaGuardsComeOffExactlyAsTheyWentOn) {
  const char* values[] = {"=1+1", "+1", "-1", "+", "-x", "@", "'", "'=", "''@", "'5", "", "x=1"};
  for (const char* value : values)
    EXPECT_EQ(CsvTextValue(CsvSafeText(value)), value) << value;
  EXPECT_EQ(CsvSafeText("-12.5"), "-12.5");
  EXPECT_EQ(CsvSafeText("-x"), "'-x");
  EXPECT_EQ(CsvTextValue("'plain"), "'plain") << "an apostrophe the export did not add stays";
}

}  // namespace
}  // namespace paylark

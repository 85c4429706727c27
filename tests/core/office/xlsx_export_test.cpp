#include "core/office/xlsx_export.h"

#include <gtest/gtest.h>

#include <string_view>

#include "tests/core/office/office_test_support.h"
#include "tests/support/scoped_locale.h"

namespace paylark {
namespace {

using testing::FebruaryDue;
using testing::ReadZipEntries;
using testing::Request;
using testing::XmlUnescaped;

std::string Attribute(const std::string& tag, std::string_view name) {
  const std::size_t at = tag.find(" " + std::string(name) + "=\"");
  if (at == std::string::npos)
    return {};
  const std::size_t start = at + name.size() + 3;
  return tag.substr(start, tag.find('"', start) - start);
}

// The first sheet as the tests read it: cell texts (a number cell's stored number) and comments
// by cell name. (The reader check in tests/cli sees fills through openpyxl.)
struct Workbook {
  std::map<std::string, std::string> entries;
  std::map<std::string, std::string> values;
  std::map<std::string, std::string> comments;

  explicit Workbook(const std::string& path) : entries(ReadZipEntries(path)) {
    std::vector<std::string> strings;
    const std::string shared = Entry("xl/sharedStrings.xml");
    for (std::size_t at = shared.find("<si>"); at != std::string::npos;
         at = shared.find("<si>", at + 1)) {
      strings.push_back(TextOf(shared, at));
    }
    const std::string sheet = Entry("xl/worksheets/sheet1.xml");
    for (std::size_t at = sheet.find("<c r="); at != std::string::npos;
         at = sheet.find("<c r=", at + 1)) {
      const std::string tag = sheet.substr(at, sheet.find('>', at) - at);
      const std::string cell = Attribute(tag, "r");
      if (tag.back() == '/') {
        values[cell] = "";
        continue;
      }
      const std::size_t value = sheet.find("<v>", at) + 3;
      const std::string stored = sheet.substr(value, sheet.find('<', value) - value);
      values[cell] = Attribute(tag, "t") == "s" ? strings.at(std::stoul(stored)) : stored;
    }
    const std::string notes = Entry("xl/comments1.xml");
    for (std::size_t at = notes.find("<comment "); at != std::string::npos;
         at = notes.find("<comment ", at + 1)) {
      comments[Attribute(notes.substr(at, notes.find('>', at) - at), "ref")] = TextOf(notes, at);
    }
  }

  // The texts of columns A to I; "" for a cell that is blank or missing.
  std::vector<std::string> Row(int row) const {
    std::vector<std::string> texts;
    for (char column = 'A'; column <= 'I'; ++column) {
      const auto found = values.find(column + std::to_string(row));
      texts.push_back(found == values.end() ? "" : found->second);
    }
    return texts;
  }

  std::string Entry(const std::string& name) const {
    const auto found = entries.find(name);
    return found == entries.end() ? std::string() : found->second;
  }

  // The text of the first <t> element at or after `at`.
  static std::string TextOf(const std::string& xml, std::size_t at) {
    std::size_t open = xml.find("<t", at);
    while (xml[open + 2] != '>' && xml[open + 2] != ' ' && xml[open + 2] != '/')
      open = xml.find("<t", open + 1);
    const std::size_t end = xml.find('>', open);
    if (xml[end - 1] == '/')
      return "";
    return XmlUnescaped(xml.substr(end + 1, xml.find("</t>", end) - end - 1));
  }
};

class XlsxExportTest : public ::testing::Test {
 protected:
  Workbook Export(const std::vector<DueRecord>& rows, NotesChoice notes) {
    const Result<OfficeExportReport> written =
        WriteXlsxExport(folder_.PathOf("month.xlsx"), Request(rows, notes));
    EXPECT_TRUE(written.ok()) << written.status().message();
    return Workbook(folder_.PathOf("month.xlsx"));
  }

  testing::ScopedLocale locale_{"en_US.UTF-8", testing::ScopedLocale::Numbers::kC};
  testing::ScratchFolder folder_;
};

TEST_F(XlsxExportTest, WithNotesWritesEveryColumnAndACommentForEachDue) {
  DueRecord personal = FebruaryDue("Phone", 12, 1234.5, false);
  personal.type = kTypePersonal;
  personal.startDate = *OleDateTime::FromCivil(2007, 2, 3);
  Workbook book =
      Export({FebruaryDue("Rent & <co>", 10, 850, true, "line one\r\nline two"), personal},
             NotesChoice::kWithNotes);

  using Row = std::vector<std::string>;
  EXPECT_EQ(book.Row(4), (Row{"", "Month", "February, 2007", "", "Paid", "850", "", "", ""}));
  EXPECT_EQ(book.Row(5), (Row{"", "", "", "", "Unpaid", "1234.5", "", "", ""}));
  EXPECT_EQ(book.Row(9), (Row{"Title", "Start Date", "Due Date", "Pay To", "Account", "Amount",
                              "Type", "Status", "Notes"}));
  // Amounts and dates are typed cells: the number and the OLE day count.
  EXPECT_EQ(book.Row(10), (Row{"Rent & <co>", "39114.375", "39123.75", "Pay Rent & <co>",
                               "Acct Rent & <co>", "850", "Business", "Paid", "Show Notes"}));
  EXPECT_EQ(book.Row(11), (Row{"Phone", "39116", "39125.75", "Pay Phone", "Acct Phone", "1234.5",
                               "Personal", "Unpaid", "Show Notes"}));
  const std::string styles = book.Entry("xl/styles.xml");
  for (const char* code : {"&quot;$&quot;#,##0.00;-&quot;$&quot;#,##0.00", "mm/dd/yyyy",
                           "mm/dd/yyyy hh:mm:ss AM/PM"}) {
    EXPECT_NE(styles.find(std::string("formatCode=\"") + code + "\""), std::string::npos) << code;
  }
  const std::string sheet = book.Entry("xl/worksheets/sheet1.xml");
  EXPECT_NE(sheet.find("<pane ySplit=\"9\" topLeftCell=\"A10\""), std::string::npos);
  EXPECT_NE(sheet.find("<autoFilter ref=\"A9:I11\"/>"), std::string::npos);
  // Each comment box is sized to its note: two short lines, then an empty note.
  const std::string boxes = book.Entry("xl/drawings/vmlDrawing1.vml");
  const std::size_t first = boxes.find("width:93pt;height:31.5pt");
  EXPECT_NE(first, std::string::npos);
  EXPECT_NE(boxes.find("width:93pt;height:20.25pt", first), std::string::npos);
  EXPECT_EQ(book.comments,
            (std::map<std::string, std::string>{{"I10", "line one\nline two"}, {"I11", ""}}));
}

TEST_F(XlsxExportTest, WithoutNotesClearsTheNotesHeadingOnWhiteAndWritesNoMarkers) {
  Workbook book =
      Export({FebruaryDue("Rent", 10, 850, true, "secret")}, NotesChoice::kWithoutNotes);
  ASSERT_TRUE(book.values.contains("I9"));
  EXPECT_EQ(book.values["I9"], "");
  EXPECT_NE(book.Entry("xl/worksheets/sheet1.xml").find("<c r=\"I9\" s="), std::string::npos);
  EXPECT_FALSE(book.values.contains("I10"));
  EXPECT_FALSE(book.entries.contains("xl/comments1.xml"));
}

TEST_F(XlsxExportTest, TwelveDuesFillRowsTenToTwentyOneAndSumByPaidState) {
  Workbook book = Export(testing::TwelveDues(), NotesChoice::kWithNotes);
  for (int number = 1; number <= 12; ++number)
    EXPECT_EQ(book.values["A" + std::to_string(number + 9)], "Due " + std::to_string(number));
  EXPECT_FALSE(book.values.contains("A22"));
  EXPECT_EQ(book.comments.size(), 12u);
  EXPECT_EQ(book.values["F4"], "360");  // 10 + 30 + ... + 110
  EXPECT_EQ(book.values["F5"], "420");  // 20 + 40 + ... + 120
}

TEST_F(XlsxExportTest, IncomesStayOutOfTheSumsAndAddUpBesideThem) {
  std::vector<DueRecord> dues = testing::TwelveDues();
  dues[0].type = kTypeIncome;  // 10, paid
  dues[1].type = kTypeIncome;  // 20, unpaid
  dues[1].amount = 1500.05;
  Workbook book = Export(dues, NotesChoice::kWithoutNotes);
  EXPECT_EQ(book.values["F4"], "350");
  EXPECT_EQ(book.values["F5"], "400");
  EXPECT_EQ(book.values["E6"], "Income");
  EXPECT_EQ(book.values["F6"], "1510.05");
  EXPECT_EQ(book.values["G10"], "Income");
  EXPECT_FALSE(Export(testing::TwelveDues(), NotesChoice::kWithoutNotes).values.contains("E6"));
}

TEST_F(XlsxExportTest, EmptyMonthStillWritesTheMonthAndZeroSums) {
  Workbook book = Export({}, NotesChoice::kWithoutNotes);
  EXPECT_EQ(book.values["C4"], "February, 2007");
  EXPECT_EQ(book.values["F4"], "0");
  EXPECT_EQ(book.values["F5"], "0");
  EXPECT_FALSE(book.values.contains("A10"));
}

TEST_F(XlsxExportTest, OverlongTextsAreCutToTheWorkbookLimitAndCounted) {
  const std::string longText(40000, 'x');
  const Result<OfficeExportReport> written = WriteXlsxExport(
      folder_.PathOf("long.xlsx"),
      Request({FebruaryDue(longText, 10, 1, false, longText)}, NotesChoice::kWithNotes));
  ASSERT_TRUE(written.ok()) << written.status().message();
  EXPECT_EQ(written.value().shortenedTexts, 4);  // title, pay-to, account and notes
  Workbook book(folder_.PathOf("long.xlsx"));
  EXPECT_EQ(book.values["A10"], std::string(kXlsxMaxTextCharacters, 'x'));
  EXPECT_EQ(book.comments["I10"].size(), kXlsxMaxTextCharacters);
}

TEST_F(XlsxExportTest, EqualRequestsGiveEqualBytesAndLeaveNoTemporaryFile) {
  const std::vector<DueRecord> rows = testing::TwelveDues();
  ASSERT_TRUE(
      WriteXlsxExport(folder_.PathOf("a.xlsx"), Request(rows, NotesChoice::kWithNotes)).ok());
  ASSERT_TRUE(
      WriteXlsxExport(folder_.PathOf("b.xlsx"), Request(rows, NotesChoice::kWithNotes)).ok());
  EXPECT_EQ(testing::FileBytes(folder_.PathOf("a.xlsx")),
            testing::FileBytes(folder_.PathOf("b.xlsx")));
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"a.xlsx", "b.xlsx"}));
}

TEST_F(XlsxExportTest, UnwritablePathFailsWithTheReasonAndWritesNothing) {
  ASSERT_TRUE(WriteXlsxExport(folder_.PathOf("file"), Request({}, NotesChoice::kWithNotes)).ok());
  const Result<OfficeExportReport> written =
      WriteXlsxExport(folder_.PathOf("file/month.xlsx"), Request({}, NotesChoice::kWithNotes));
  ASSERT_FALSE(written.ok());
  EXPECT_NE(
      written.status().message().find("file/month.xlsx\" could not be written: Not a directory"),
      std::string::npos)
      << written.status().message();
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"file"});
}

}  // namespace
}  // namespace paylark

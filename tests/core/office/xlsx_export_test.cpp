#include "core/export/xlsx_export.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string_view>

#include "tests/core/office/office_test_support.h"

namespace paylark {
namespace {

using testing::FebruaryDue;
using testing::ReadZipEntries;
using testing::Request;
using testing::XmlUnescaped;

// Where the n-th (0-based) `open` after the start of `section` begins in `xml`.
std::size_t NthPosition(const std::string& xml, std::string_view section, std::string_view open,
                        int n) {
  std::size_t at = xml.find(section);
  for (int i = 0; at != std::string::npos && i <= n; ++i)
    at = xml.find(open, at + 1);
  return at;
}

std::string TagAt(const std::string& xml, std::size_t at) {
  return at == std::string::npos ? std::string() : xml.substr(at, xml.find('>', at) - at);
}

std::string Attribute(const std::string& tag, std::string_view name) {
  const std::size_t at = tag.find(" " + std::string(name) + "=\"");
  if (at == std::string::npos)
    return {};
  const std::size_t start = at + name.size() + 3;
  return tag.substr(start, tag.find('"', start) - start);
}

// The first sheet as the tests read it: cell texts, cell styles and comments by cell name.
struct Workbook {
  std::map<std::string, std::string> entries;
  std::map<std::string, std::string> values;
  std::map<std::string, int> styles;
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
      styles[cell] = Attribute(tag, "s").empty() ? 0 : std::stoi(Attribute(tag, "s"));
      if (tag.back() == '/') {
        values[cell] = "";
        continue;
      }
      const std::size_t value = sheet.find("<v>", at) + 3;
      values[cell] = strings.at(std::stoul(sheet.substr(value, sheet.find('<', value) - value)));
    }
    const std::string notes = Entry("xl/comments1.xml");
    for (std::size_t at = notes.find("<comment "); at != std::string::npos;
         at = notes.find("<comment ", at + 1)) {
      comments[Attribute(notes.substr(at, notes.find('>', at) - at), "ref")] = TextOf(notes, at);
    }
  }

  std::string Entry(const std::string& name) const {
    const auto found = entries.find(name);
    return found == entries.end() ? std::string() : found->second;
  }

  // The text of the first <t> element at or after `at`.
  static std::string TextOf(const std::string& xml, std::size_t at) {
    std::size_t open = xml.find("<t", at);
    while (xml[open + 2] != '>' && xml[open + 2] != ' ' && xml[open + 2] != '/') {
      open = xml.find("<t", open + 1);
    }
    const std::size_t end = xml.find('>', open);
    if (xml[end - 1] == '/')
      return "";
    return XmlUnescaped(xml.substr(end + 1, xml.find("</t>", end) - end - 1));
  }

  std::string FillColourOf(const std::string& cell) const {
    const std::string css = Entry("xl/styles.xml");
    const std::string xf = TagAt(css, NthPosition(css, "<cellXfs", "<xf ", styles.at(cell)));
    const std::size_t fill =
        NthPosition(css, "<fills", "<fill>", std::stoi(Attribute(xf, "fillId")));
    return Attribute(TagAt(css, css.find("<fgColor", fill)), "rgb");
  }
};

class XlsxExportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::setlocale(LC_ALL, "en_US.UTF-8");
    std::setlocale(LC_NUMERIC, "C");
  }

  Workbook Export(const std::vector<DueRecord>& rows, NotesChoice notes) {
    const Result<OfficeExportReport> written =
        WriteXlsxExport(folder_.PathOf("month.xlsx"), Request(rows, notes));
    EXPECT_TRUE(written.ok()) << written.status().message();
    return Workbook(folder_.PathOf("month.xlsx"));
  }

  testing::ScratchFolder folder_;
};

TEST_F(XlsxExportTest, WithNotesWritesEveryColumnAndACommentForEachDue) {
  DueRecord personal = FebruaryDue("Phone", 12, 1234.5, false);
  personal.type = kTypePersonal;
  personal.startDate = *OleDateTime::FromCivil(2007, 2, 3);
  Workbook book =
      Export({FebruaryDue("Rent & <co>", 10, 850, true, "line one\r\nline two"), personal},
             NotesChoice::kWithNotes);

  const std::map<std::string, std::string> expected = {{"A10", "Rent & <co>"},
                                                       {"B10", "02/01/2007 09:00:00 AM"},
                                                       {"C10", "02/10/2007 06:00:00 PM"},
                                                       {"D10", "Pay Rent & <co>"},
                                                       {"E10", "Acct Rent & <co>"},
                                                       {"F10", "$850.00"},
                                                       {"G10", "Business"},
                                                       {"H10", "Paid"},
                                                       {"I10", "Show Notes"},
                                                       {"B11", "02/03/2007"},
                                                       {"F11", "$1,234.50"},
                                                       {"G11", "Personal"},
                                                       {"H11", "Unpaid"},
                                                       {"I11", "Show Notes"},
                                                       {"C4", "February, 2007"},
                                                       {"F4", "$850.00"},
                                                       {"F5", "$1,234.50"},
                                                       {"I9", "Notes"},
                                                       {"B4", "Month"},
                                                       {"E4", "Paid"},
                                                       {"E5", "Unpaid"},
                                                       {"A9", "Title"}};
  for (const auto& [cell, value] : expected)
    EXPECT_EQ(book.values[cell], value) << cell;
  EXPECT_EQ(book.comments,
            (std::map<std::string, std::string>{{"I10", "line one\nline two"}, {"I11", ""}}));
}

TEST_F(XlsxExportTest, WithoutNotesClearsTheNotesHeadingOnWhiteAndWritesNoMarkers) {
  Workbook book =
      Export({FebruaryDue("Rent", 10, 850, true, "secret")}, NotesChoice::kWithoutNotes);
  ASSERT_TRUE(book.values.contains("I9"));
  EXPECT_EQ(book.values["I9"], "");
  EXPECT_EQ(book.FillColourOf("I9"), "FFFFFFFF");
  EXPECT_FALSE(book.values.contains("I10"));
  EXPECT_FALSE(book.entries.contains("xl/comments1.xml"));
}

TEST_F(XlsxExportTest, TwelveDuesFillRowsTenToTwentyOneAndSumByPaidState) {
  Workbook book = Export(testing::TwelveDues(), NotesChoice::kWithNotes);
  for (int number = 1; number <= 12; ++number) {
    EXPECT_EQ(book.values["A" + std::to_string(number + 9)], "Due " + std::to_string(number));
  }
  EXPECT_FALSE(book.values.contains("A22"));
  EXPECT_EQ(book.comments.size(), 12u);
  EXPECT_EQ(book.values["F4"], "$360.00");  // 10 + 30 + ... + 110
  EXPECT_EQ(book.values["F5"], "$420.00");  // 20 + 40 + ... + 120
}

TEST_F(XlsxExportTest, EmptyMonthStillWritesTheMonthAndZeroSums) {
  Workbook book = Export({}, NotesChoice::kWithoutNotes);
  EXPECT_EQ(book.values["C4"], "February, 2007");
  EXPECT_EQ(book.values["F4"], "$0.00");
  EXPECT_EQ(book.values["F5"], "$0.00");
  EXPECT_EQ(book.values["I9"], "");
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
  EXPECT_EQ(testing::ReadBytes(folder_.PathOf("a.xlsx")),
            testing::ReadBytes(folder_.PathOf("b.xlsx")));
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

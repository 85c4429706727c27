#include "core/office/docx_export.h"

#include <gtest/gtest.h>

#include "tests/core/office/office_test_support.h"
#include "tests/support/scoped_locale.h"
#include "tests/support/scoped_time_zone.h"

namespace paylark {
namespace {

using testing::FebruaryDue;
using testing::ReadZipEntries;
using testing::Request;
using testing::XmlUnescaped;

// The XML between each `open` and the next `close`.
std::vector<std::string> Elements(const std::string& xml, const std::string& open,
                                  const std::string& close) {
  std::vector<std::string> elements;
  for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1))
    elements.push_back(xml.substr(at, xml.find(close, at) + close.size() - at));
  return elements;
}

// A cell's text as a reader shows it: paragraphs joined by line feeds, tabs as tabs.
std::string CellText(const std::string& cell) {
  std::string text;
  bool first = true;
  for (const std::string& paragraph : Elements(cell, "<w:p>", "</w:p>")) {
    if (!first)
      text += '\n';
    first = false;
    for (std::size_t at = paragraph.find("<w:"); at != std::string::npos;
         at = paragraph.find("<w:", at + 1)) {
      if (paragraph.compare(at, 7, "<w:tab/") == 0)
        text += '\t';
      if (paragraph.compare(at, 5, "<w:t ") != 0)
        continue;
      const std::size_t start = paragraph.find('>', at) + 1;
      text += XmlUnescaped(paragraph.substr(start, paragraph.find("</w:t>", start) - start));
    }
  }
  return text;
}

struct Document {
  std::map<std::string, std::string> entries;
  std::vector<std::string> rows;  // the XML of each w:tr

  explicit Document(const std::string& path) : entries(ReadZipEntries(path)) {
    rows = Elements(entries["word/document.xml"], "<w:tr>", "</w:tr>");
  }
  std::vector<std::string> Cells(std::size_t row) const {
    return Elements(rows.at(row), "<w:tc>", "</w:tc>");
  }
  std::vector<std::string> Texts(std::size_t row) const {
    std::vector<std::string> texts;
    for (const std::string& cell : Cells(row))
      texts.push_back(CellText(cell));
    return texts;
  }
};

bool Has(const std::string& xml, const std::string& part) {
  return xml.find(part) != std::string::npos;
}

class DocxExportTest : public ::testing::Test {
 protected:
  Document Export(const std::vector<DueRecord>& rows, NotesChoice notes) {
    const Status written =
        WriteDocxExport(folder_.PathOf("month.docx"), Request(rows, notes, "February-2007"));
    EXPECT_TRUE(written.ok()) << written.message();
    return Document(folder_.PathOf("month.docx"));
  }

  testing::ScopedLocale locale_{"en_US.UTF-8", testing::ScopedLocale::Numbers::kC};
  testing::ScratchFolder folder_;
};

TEST_F(DocxExportTest, WithNotesLaysOutHeadingDuesSummaryAndOneCommentPerDue) {
  DueRecord phone = FebruaryDue("Phone", 12, 1234.5, false);
  phone.type = kTypePersonal;
  Document document = Export({FebruaryDue("Rent & <co>\x01", 10, 850, true, "one\r\ntwo"), phone},
                             NotesChoice::kWithNotes);
  const std::string& body = document.entries["word/document.xml"];
  const std::string heading = Elements(body, "<w:p>", "</w:p>").front();
  for (const char* part : {"<w:jc w:val=\"center\"/>", "<w:b/>", "<w:u w:val=\"single\"/>",
                           "<w:sz w:val=\"28\"/>", ">February-2007<"}) {
    EXPECT_TRUE(Has(heading, part)) << part;
  }

  ASSERT_EQ(document.rows.size(), 4u);
  EXPECT_EQ(document.Texts(0),
            (std::vector<std::string>{"Due", "Pay To/Account", "Type/Status", "Amount", "Notes"}));
  for (const std::string& cell : document.Cells(0)) {
    for (const char* part :
         {"w:fill=\"DCDCDC\"", "<w:vAlign w:val=\"center\"/>", "<w:color w:val=\"000080\"/>"}) {
      EXPECT_TRUE(Has(cell, part)) << part;
    }
  }
  EXPECT_EQ(document.Texts(1),
            (std::vector<std::string>{"Rent & <co>\n02/01/2007\t02/10/2007",
                                      "Pay Rent & <co>\nAcct Rent & <co>", "Business\nPaid",
                                      "$850.00", "Show Notes"}));
  EXPECT_EQ(document.Texts(2)[2], "Personal\nUnpaid");
  const std::vector<std::string> due = document.Cells(1);
  EXPECT_TRUE(Has(due[0], "w:fill=\"D3DFEE\"/><w:jc w:val=\"center\"/>"));
  EXPECT_TRUE(Has(due[1], "<w:jc w:val=\"right\"/>"));
  EXPECT_TRUE(Has(due[3], "<w:vAlign w:val=\"bottom\"/>"));
  EXPECT_TRUE(Has(due[0], "<w:sz w:val=\"16\"/>"));

  EXPECT_EQ(document.Texts(3),
            (std::vector<std::string>{"Status: (1/2)", "$850.00", "$1,234.50", "$2,084.50", ""}));
  for (const std::string& cell : document.Cells(3))
    EXPECT_TRUE(Has(cell, "w:fill=\"DCDCDC\""));
  EXPECT_TRUE(Has(document.Cells(3)[1], "<w:color w:val=\"0000C8\"/>"));

  const std::vector<std::string> comments =
      Elements(document.entries["word/comments.xml"], "<w:comment ", "</w:comment>");
  ASSERT_EQ(comments.size(), 2u);
  EXPECT_EQ(CellText(comments[0]), "one\ntwo");
  EXPECT_EQ(CellText(comments[1]), "");
  EXPECT_TRUE(Has(body, "<w:commentReference w:id=\"1\"/>"));
  EXPECT_TRUE(Has(document.entries["[Content_Types].xml"], "/word/comments.xml"));
  EXPECT_TRUE(Has(document.entries["word/_rels/document.xml.rels"], "Target=\"comments.xml\""));
}

TEST_F(DocxExportTest, IncomesStayOutOfTheSummaryAndAddUpBelowIt) {
  DueRecord salary = FebruaryDue("Salary", 25, 2100.10, true);
  salary.type = kTypeIncome;
  Document document =
      Export({FebruaryDue("Rent", 10, 850, true), salary}, NotesChoice::kWithoutNotes);
  EXPECT_EQ(document.Texts(2)[2], "Income\nPaid");
  EXPECT_EQ(document.Texts(3),
            (std::vector<std::string>{"Status: (1/2)", "$850.00", "$0.00", "$850.00"}));
  const std::string& body = document.entries["word/document.xml"];
  const std::string after = body.substr(body.find("</w:tbl>"));
  EXPECT_EQ(CellText(Elements(after, "<w:p>", "</w:p>").front()), "Income : $2,100.10");
}

TEST_F(DocxExportTest, WithoutNotesHasFourColumnsAndNoComments) {
  Document document =
      Export({FebruaryDue("Rent", 10, 850, true, "secret")}, NotesChoice::kWithoutNotes);
  ASSERT_EQ(document.rows.size(), 3u);
  for (std::size_t row = 0; row < 3; ++row)
    EXPECT_EQ(document.Cells(row).size(), 4u) << row;
  EXPECT_FALSE(Has(document.entries["word/document.xml"], "Notes"));
  EXPECT_FALSE(document.entries.contains("word/comments.xml"));
  EXPECT_FALSE(Has(document.entries["[Content_Types].xml"], "comments"));
}

// The page is the locale's paper, and the table fills its text width.
TEST_F(DocxExportTest, PageSizeAndDatesFollowTheLocale) {
  struct Case {
    const char* locale;
    const char* page;
    const char* dates;
    int textWidth;
  };
  for (const Case& c : {Case{"en_US.UTF-8", "<w:pgSz w:w=\"12240\" w:h=\"15840\"/>",
                             "02/01/2007\t02/10/2007", 9360},
                        Case{"de_DE.UTF-8", "<w:pgSz w:w=\"11906\" w:h=\"16838\"/>",
                             "01.02.2007\t10.02.2007", 9026}}) {
    const testing::ScopedLocale scoped(c.locale);
    ASSERT_TRUE(scoped.ok()) << c.locale;
    Document document = Export({FebruaryDue("Rent", 10, 850, true)}, NotesChoice::kWithNotes);
    const std::string& body = document.entries["word/document.xml"];
    EXPECT_TRUE(Has(body, c.page)) << c.locale;
    EXPECT_TRUE(Has(body, "<w:tblW w:w=\"" + std::to_string(c.textWidth) + "\"")) << c.locale;
    EXPECT_EQ(document.Texts(1)[0], std::string("Rent\n") + c.dates) << c.locale;
  }
}

TEST_F(DocxExportTest, EmptyMonthWritesABlankDocument) {
  Document document = Export({}, NotesChoice::kWithNotes);
  const std::string& body = document.entries["word/document.xml"];
  EXPECT_TRUE(Has(body, "<w:body><w:p/><w:sectPr>"));
  EXPECT_FALSE(Has(body, "<w:tbl>"));
  EXPECT_FALSE(Has(body, "February"));
  EXPECT_TRUE(document.entries.contains("word/styles.xml"));
}

TEST_F(DocxExportTest, BytesDependOnTheStampAloneNotOnTheTimeZone) {
  const std::vector<DueRecord> rows = testing::TwelveDues();
  const auto writeUnder = [&](const char* zone, const std::string& name) {
    const testing::ScopedTimeZone scoped(zone);
    EXPECT_TRUE(WriteDocxExport(folder_.PathOf(name), Request(rows, NotesChoice::kWithNotes)).ok());
    return testing::FileBytes(folder_.PathOf(name));
  };
  EXPECT_EQ(writeUnder("UTC0", "a.docx"), writeUnder("EST5EDT", "b.docx"));
}

TEST_F(DocxExportTest, UnwritablePathFailsWithTheReasonAndWritesNothing) {
  ASSERT_TRUE(WriteDocxExport(folder_.PathOf("file"), Request({}, NotesChoice::kWithNotes)).ok());
  const Status written =
      WriteDocxExport(folder_.PathOf("file/month.docx"), Request({}, NotesChoice::kWithNotes));
  ASSERT_FALSE(written.ok());
  EXPECT_NE(written.message().find("file/month.docx\" could not be written: Not a directory"),
            std::string::npos)
      << written.message();
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"file"});
}

}  // namespace
}  // namespace paylark

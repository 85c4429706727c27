#include "core/export/pdf_export.h"

#include <gtest/gtest.h>

#include "tests/core/export/pdf_tools.h"
#include "tests/support/scoped_locale.h"

namespace paylark {
namespace {

using testing::PdfFile;

DueRecord Due(std::string title, std::string notes) {
  DueRecord record;
  record.title = std::move(title);
  record.startDate = *OleDateTime::FromCivil(2005, 3, 1);
  record.dueDate = *OleDateTime::FromCivil(2005, 3, 15);
  record.payTo = "Power (Co)";
  record.account = "ACC-1";
  record.amount = 1234.5;
  record.notes = std::move(notes);
  record.type = 2;
  record.paid = 1;
  return record;
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t pos = 0; (pos = text.find(part, pos)) != std::string::npos; ++pos)
    ++count;
  return count;
}

TEST(PdfExport, CoverPageThenOnePagePerDue) {
  const std::vector<DueRecord> rows = {Due("Rent (March)", "call first"), Due("Gas", "")};
  const std::string bytes =
      RenderPdfExport(rows, "Mar - 2005", NotesChoice::kWithNotes).value().bytes;
  const PdfFile file(bytes);
  ASSERT_EQ(file.Check().exitCode, 0) << file.Check().text;
  ASSERT_EQ(file.PageCount(), 3);
  EXPECT_NE(file.PageText(1).find("Due Date(s)"), std::string::npos);
  EXPECT_NE(file.PageText(1).find("Mar - 2005"), std::string::npos);
  const std::string first = file.PageText(2);
  EXPECT_NE(first.find("Rent (March)"), std::string::npos) << "a title keeps its parentheses";
  EXPECT_EQ(Count(first, "Record 1 of 2"), 2);
  EXPECT_NE(first.find("Notes"), std::string::npos);
  EXPECT_NE(first.find("call first"), std::string::npos);
  // The C locale's short dates; the wrapped body turns parentheses into blanks.
  EXPECT_NE(bytes.find("T* ()Tj T*()Tj T*( Due : Rent  March )Tj T*()Tj T*( Start Date : "
                       "03/01/05)Tj T*()Tj T*( Due Date : 03/15/05)Tj T*()Tj T*( Pay To : Power  "
                       "Co )Tj T*()Tj T*( Account: ACC-1)Tj T*()Tj T*( Amount: 1234.50)Tj T*()Tj "
                       "T*( Due Type: Personal)Tj T*()Tj T*( Status: Paid)Tj T*()Tj "
                       "T*(Notes)Tj T*()Tj T*(call first)Tj T*() Tj \rET"),
            std::string::npos);
  EXPECT_NE(bytes.find("T*( Status: Paid)Tj T*() Tj \rET"), std::string::npos)
      << "a due without notes ends with its status";
  EXPECT_EQ(Count(file.PageText(3), "Record 2 of 2"), 2);
  const std::string withoutNotes =
      RenderPdfExport(rows, "Mar - 2005", NotesChoice::kWithoutNotes).value().bytes;
  EXPECT_EQ(withoutNotes.find("Notes"), std::string::npos);
}

// The paper follows LC_PAPER as the Word export's does; on A4 every line keeps its distance from
// the top edge, and a Letter document is the one the writer always made. Long notes go on over
// pages without a heading.
TEST(PdfExport, PaperFollowsTheLocaleAndLongNotesContinueWithoutHeading) {
  std::string notes = "note 1";
  for (int line = 2; line <= 60; ++line)
    notes += "\r\nnote " + std::to_string(line);
  const std::vector<DueRecord> rows = {Due("Rent", notes)};
  const auto render = [&rows](const char* locale) {
    const testing::ScopedLocale scoped(locale, testing::ScopedLocale::Numbers::kC);
    EXPECT_TRUE(scoped.ok()) << locale;
    return RenderPdfExport(rows, "Mar - 2005", NotesChoice::kWithNotes).value().bytes;
  };
  const std::string a4 = render("de_DE.UTF-8");
  const std::string letter = render("en_US.UTF-8");
  EXPECT_EQ(Count(a4, "/MediaBox[0 0 595 842]"), 3);
  EXPECT_EQ(Count(a4, "/MediaBox"), 3);
  EXPECT_NE(a4.find("12 0 0 12 50 800 Tm"), std::string::npos) << "title 42 points below the top";
  EXPECT_EQ(Count(letter, "/MediaBox[0 0 612 792]"), 3);
  EXPECT_NE(letter.find("12 0 0 12 50 750 Tm"), std::string::npos);
  const PdfFile a4File(a4);
  ASSERT_EQ(a4File.Check().exitCode, 0) << a4File.Check().text;
  EXPECT_NE(a4File.PageText(3).find("note 60"), std::string::npos);

  const PdfFile file(letter);
  ASSERT_EQ(file.Check().exitCode, 0) << file.Check().text;
  ASSERT_EQ(file.PageCount(), 3);
  // The body has 20 lines before the notes, so the due's first page ends with note 20.
  const std::string first = file.PageText(2);
  const std::string next = file.PageText(3);
  EXPECT_EQ(Count(first, "Record 1 of 1"), 1);
  EXPECT_NE(first.find("note 20\n"), std::string::npos);
  EXPECT_EQ(first.find("note 21\n"), std::string::npos);
  EXPECT_EQ(next.rfind("note 21\n", 0), 0U) << "no title above the continued notes";
  EXPECT_NE(next.find("note 60"), std::string::npos);
  EXPECT_EQ(Count(next, "Record 1 of 1"), 1) << "the lower record count ends the due";
}

// Text beyond Helvetica's 8-bit set is drawn from an embedded font and extracted as typed.
class PdfExportBeyondMacRoman : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(locale_.ok()); }

  testing::ScopedLocale locale_{"de_DE.UTF-8"};
};

TEST_F(PdfExportBeyondMacRoman, EuroAmountsAndCyrillicMonthNamesAreShownAndExtracted) {
  DueRecord due = Due("Miete März", "Оплата за декабрь\r\nnarrow\u202Fspace");
  const PdfExport pdf =
      RenderPdfExport(std::vector<DueRecord>{due}, "Dez - 2026", NotesChoice::kWithNotes).value();
  ASSERT_TRUE(pdf.duesWithLostCharacters.empty()) << "DejaVu Sans covers these characters";
  const PdfFile file(pdf.bytes);
  ASSERT_EQ(file.Check().exitCode, 0) << file.Check().text;
  const std::string page = file.PageText(2);
  EXPECT_NE(page.find("Amount: 1.234,50 €"), std::string::npos) << page;
  EXPECT_NE(page.find("Miete März"), std::string::npos) << page;
  EXPECT_NE(page.find("Оплата за декабрь"), std::string::npos) << page;
  EXPECT_NE(pdf.bytes.find("/FontFile2"), std::string::npos);
}

TEST_F(PdfExportBeyondMacRoman, CjkTitleIsExtractedExactly) {
  const std::string title = "東京電力 12月分 電気料金";
  const PdfExport pdf =
      RenderPdfExport(std::vector<DueRecord>{Due(title, "")}, "Dez - 2026", NotesChoice::kWithNotes)
          .value();
  if (!pdf.duesWithLostCharacters.empty())
    GTEST_SKIP() << "no CJK font is installed (fonts-wqy-microhei)";
  const PdfFile file(pdf.bytes);
  ASSERT_EQ(file.Check().exitCode, 0) << file.Check().text;
  const std::string page = file.PageText(2);
  EXPECT_EQ(page.substr(0, page.find('\n')).substr(0, title.size()), title) << page;
  EXPECT_NE(page.find("Due : " + title), std::string::npos) << page;
}

TEST_F(PdfExportBeyondMacRoman, LongTitleIsShortenedBeforeTheRecordCount) {
  const std::string title(80, 'W');
  const PdfExport pdf = RenderPdfExport(std::vector<DueRecord>{Due(title, ""), Due("Gas", "")},
                                        "Dez - 2026", NotesChoice::kWithNotes)
                            .value();
  const PdfFile file(pdf.bytes);
  ASSERT_EQ(file.Check().exitCode, 0) << file.Check().text;
  // The shortened title ends before the record count begins at x = 400.
  const std::string boxes = file.PageWordBoxes(2);
  const std::size_t word = boxes.find("WWW…</word>");
  ASSERT_NE(word, std::string::npos) << boxes;
  const std::size_t xMax = boxes.rfind("xMax=\"", word) + 6;
  EXPECT_LT(std::stod(boxes.substr(xMax)), 400.0) << boxes.substr(boxes.rfind("<word", word));
  EXPECT_NE(boxes.find(">Record</word>"), std::string::npos);
  EXPECT_NE(pdf.bytes.find("WWW\xC9) Tj"), std::string::npos) << "\"…\" is a MacRoman character";
}

TEST_F(PdfExportBeyondMacRoman, CharactersNoFontHasBecomeQuestionMarksAndNameTheirDue) {
  const PdfExport pdf =
      RenderPdfExport(std::vector<DueRecord>{Due("Rent", ""), Due("Private \U0010FFFD use", "")},
                      "Dez - 2026", NotesChoice::kWithNotes)
          .value();
  EXPECT_EQ(pdf.duesWithLostCharacters, std::vector<std::string>{"Private \U0010FFFD use"});
  const PdfFile file(pdf.bytes);
  EXPECT_NE(file.PageText(3).find("Private ? use"), std::string::npos);
}

}  // namespace
}  // namespace paylark

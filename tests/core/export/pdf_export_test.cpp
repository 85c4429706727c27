#include "core/export/pdf_export.h"

#include <gtest/gtest.h>

#include "tests/core/export/pdf_tools.h"

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
  const std::string bytes = RenderPdfExport(rows, "Mar - 2005", NotesChoice::kWithNotes);
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
  const std::string withoutNotes = RenderPdfExport(rows, "Mar - 2005", NotesChoice::kWithoutNotes);
  EXPECT_EQ(withoutNotes.find("Notes"), std::string::npos);
}

TEST(PdfExport, LongNotesContinueOnPagesWithoutHeading) {
  std::string notes = "note 1";
  for (int line = 2; line <= 60; ++line)
    notes += "\r\nnote " + std::to_string(line);
  const PdfFile file(RenderPdfExport(std::vector<DueRecord>{Due("Rent", notes)}, "Mar - 2005",
                                     NotesChoice::kWithNotes));
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

}  // namespace
}  // namespace paylark

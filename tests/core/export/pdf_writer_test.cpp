#include "core/export/pdf_writer.h"

#include <gtest/gtest.h>

#include "core/export/helvetica_metrics.h"
#include "core/export/text_wrap.h"
#include "tests/core/export/pdf_tools.h"

namespace paylark {
namespace {

using testing::PdfFile;

std::vector<std::string> Wrap(std::string_view text) {
  return WrapText(text, HelveticaMeasure(14), 500);
}

TEST(PdfWriter, WritesObjectsOffsetsAndTrailerByteExact) {
  PdfWriter writer;
  writer.NewPage();
  writer.AddText("a(b\r\nc", 10, 20, 1);
  writer.AddLine(1, 2, 3, 4, 2);
  const std::string expected =
      "%PDF-1.4\r\n"
      "1 0 obj<</Type /Catalog /Pages 4 0 R>>\nendobj\r"
      "2 0 obj\r\n[/PDF /Text]\r\nendobj\n"
      "3 0 obj\r\n<< /Type /Font /Subtype /Type1 /Name /F1 /BaseFont /Helvetica /Encoding "
      "/MacRomanEncoding>>endobj\r\n"
      "4 0 obj<</Type /Pages /Kids [5 0 R ] /Count 1>>\nendobj\r"
      "5 0 obj<</Type /Page /Parent 4 0 R /MediaBox[0 0 612 792] /Contents [6 0 R 7 0 R ] "
      "/Resources<</ProcSet 2 0 R\r\n/Font << /F1 3 0 R>>>>>>\nendobj\n"
      "6 0 obj<</Length 101>>stream\r\n0 g\r1 i \rBT\r/F1 1 Tf\r0 Tc 0 Tw 0  Ts 100  Tz 0 Tr 1.2 "
      "TL 12 0 0 12 10 20 Tm \rT* (a\\(b)Tj T*(c) Tj \rET\r\nendstream\rendobj\n"
      "7 0 obj<</Length 20 >>stream\r\n2 w\r\n1 2 m\r\n3 4 l\r\nS\r\nendstream\rendobj\n"
      "xref\r\n0 8\r\n0000000000 65535 f\r\n"
      "0000000010 00000 n\r\n0000000056 00000 n\r\n0000000086 00000 n\r\n"
      "0000000194 00000 n\r\n0000000249 00000 n\r\n0000000392 00000 n\r\n"
      "0000000542 00000 n\r\n"
      "trailer\n<</Size 8/Root 1 0 R>>\r\nstartxref\r\n611\r\n%%EOF\r\n";
  EXPECT_EQ(writer.Bytes(), expected);
  EXPECT_EQ(writer.Bytes(), expected) << "asking twice gives the same file";
  const PdfFile file(writer.Bytes());
  EXPECT_EQ(file.Check().exitCode, 0) << file.Check().text;
}

TEST(PdfWriter, EmptyDocumentAndContentBeforeTheFirstPage) {
  PdfWriter empty;
  EXPECT_NE(empty.Bytes().find("4 0 obj<</Type /Pages /Kids [] /Count 0>>"), std::string::npos);
  EXPECT_NE(empty.Bytes().find("xref\r\n0 5\r\n"), std::string::npos);

  PdfWriter early;
  early.AddLine(0, 0, 1, 1, 1);
  early.NewPage();
  const std::string bytes = early.Bytes();
  EXPECT_NE(bytes.find("5 0 obj<</Length"), std::string::npos);
  EXPECT_NE(bytes.find("6 0 obj<</Type /Page /Parent 4 0 R /MediaBox[0 0 612 792] /Contents [] "),
            std::string::npos);
  EXPECT_NE(bytes.find("/Kids [6 0 R ] /Count 1"), std::string::npos);
  EXPECT_EQ(PdfFile(bytes).Check().exitCode, 0);
}

TEST(PdfWriter, TextIsMacRomanAndEscapesItsDelimiters) {
  PdfWriter writer;
  writer.NewPage();
  // U+10FFFD, a private-use character, is in no installed font.
  writer.AddText("Caf\xC3\xA9 \xF4\x8F\xBF\xBD 5 \\ (x", 50, 700, 1);
  const std::string bytes = writer.Bytes();
  EXPECT_NE(bytes.find("T* (Caf\x8E ? 5 \\\\ \\(x) Tj"), std::string::npos);
  EXPECT_EQ(writer.LostCharacters(), 1);
  EXPECT_EQ(bytes.find("/F2"), std::string::npos) << "nothing to embed";
  const PdfFile file(bytes);
  EXPECT_EQ(file.Check().exitCode, 0);
  EXPECT_NE(file.PageText(1).find("Caf\xC3\xA9 ? 5 \\ (x"), std::string::npos);
}

// One block mixing Helvetica and an embedded font shows and extracts every character.
TEST(PdfWriter, CharactersBeyondMacRomanComeFromAnEmbeddedSubset) {
  PdfWriter writer;
  writer.NewPage();
  writer.AddText("(50 \xE2\x82\xAC)\r\n\xD0\x9C\xD0\xB0\xD1\x80\xD1\x82", 50, 700, 1);
  const std::string bytes = writer.Bytes();
  EXPECT_NE(bytes.find("/F1 3 0 R /F2 7 0 R>>"), std::string::npos);
  EXPECT_NE(bytes.find("/Subtype /Type0"), std::string::npos);
  EXPECT_NE(bytes.find("/Encoding /Identity-H"), std::string::npos);
  EXPECT_NE(bytes.find("T* (\\(50 ) Tj /F2 1 Tf <"), std::string::npos);
  EXPECT_NE(bytes.find("xref\r\n0 13\r\n"), std::string::npos) << "six font objects after 6";
  EXPECT_EQ(writer.LostCharacters(), 0);
  const PdfFile file(bytes);
  const testing::ToolOutput check = file.Check();
  EXPECT_EQ(check.exitCode, 0) << check.text;
  EXPECT_EQ(check.text.find("WARNING"), std::string::npos) << check.text;
  EXPECT_NE(file.PageText(1).find("(50 \xE2\x82\xAC)\n\xD0\x9C\xD0\xB0\xD1\x80\xD1\x82"),
            std::string::npos)
      << file.PageText(1);
}

TEST(TextWrap, BreaksAfterBlankThenHyphenThenLastFittingCharacter) {
  // At cell height 14 "a" is 7 units wide, a blank 3, a hyphen 4: 71 letters fill 497 units.
  const std::string a60(60, 'a');
  const std::string a20(20, 'a');
  EXPECT_EQ(Wrap(std::string(100, 'a')),
            (std::vector<std::string>{std::string(71, 'a'), std::string(29, 'a')}));
  EXPECT_EQ(Wrap(a60 + " " + a20), (std::vector<std::string>{a60 + " ", a20}));
  EXPECT_EQ(Wrap(a60 + "-" + a20 + " b"), (std::vector<std::string>{a60 + "-", a20 + " b"}));
  EXPECT_EQ(Wrap("x\r\n\r\ny"), (std::vector<std::string>{"x", "", "y"}));
  EXPECT_EQ(Wrap(""), (std::vector<std::string>{""}));
  // A run that exactly fills the width stays one line.
  EXPECT_EQ(Wrap(std::string(71, 'a') + " ").size(), 1U);
}

TEST(PdfWriter, WrappedTextTurnsParenthesesToBlanksAndFillsPages) {
  PdfWriter writer;
  writer.NewPage();
  std::string text = "(first)";
  for (int line = 2; line <= 100; ++line)
    text += "\r\nline " + std::to_string(line);
  writer.AddWrappedText(text, 50, 720, 1, 8);
  const PdfFile file(writer.Bytes());
  ASSERT_EQ(file.Check().exitCode, 0) << file.Check().text;
  ASSERT_EQ(file.PageCount(), 3);
  EXPECT_NE(writer.Bytes().find("T* ( first )Tj T*(line 2)"), std::string::npos);
  // 40 lines on the first page, 43 on the next.
  EXPECT_NE(file.PageText(1).find("line 40\n"), std::string::npos);
  EXPECT_EQ(file.PageText(1).find("line 41\n"), std::string::npos);
  EXPECT_EQ(file.PageText(2).rfind("line 41\n", 0), 0U);
  EXPECT_NE(file.PageText(2).find("line 83\n"), std::string::npos);
  EXPECT_EQ(file.PageText(3).rfind("line 84\n", 0), 0U);
}

// Wrapping measures the embedded font: 100 CJK characters of about 13 units each break into
// lines of at most 500 units, and a character no font has is counted once.
TEST(PdfWriter, WrappedTextBeyondMacRomanMeasuresTheEmbeddedFont) {
  std::string text = "\xF4\x8F\xBF\xBD ";
  for (int i = 0; i < 100; ++i)
    text += "\xE9\x9B\xBB";  // 電
  PdfWriter writer;
  writer.NewPage();
  writer.AddWrappedText(text, 50, 720, 1, 8);
  if (writer.TextWidth("\xE9\x9B\xBB") == HelveticaAfmWidth('?'))
    GTEST_SKIP() << "no CJK font is installed (fonts-wqy-microhei)";
  EXPECT_EQ(writer.LostCharacters(), 1);
  const int perLine = 500 / HelveticaMeasure(14).Scaled(writer.TextWidth("\xE9\x9B\xBB"));
  const PdfFile file(writer.Bytes());
  ASSERT_EQ(file.Check().exitCode, 0) << file.Check().text;
  const std::string page = file.PageText(1);
  std::vector<std::size_t> lengths;
  for (std::size_t start = 0, end; (end = page.find('\n', start)) != std::string::npos;
       start = end + 1) {
    if (end > start)
      lengths.push_back(end - start);
  }
  ASSERT_GE(lengths.size(), 3U) << page;
  EXPECT_EQ(page.rfind('?', 0), 0U) << "the lost character and its blank make the first line";
  EXPECT_EQ(lengths[1], static_cast<std::size_t>(perLine) * 3) << page;
}

}  // namespace
}  // namespace paylark

#include "core/export/html_export.h"

#include <gtest/gtest.h>

#include <random>

#include "core/base/messages.h"
#include "tests/core/export/literal_templates.h"

namespace paylark {
namespace {

DueRecord Due(std::string title, std::string notes, int paid = 0) {
  DueRecord record;
  record.title = std::move(title);
  record.startDate = *OleDateTime::FromCivil(2005, 3, 1);
  record.dueDate = *OleDateTime::FromCivil(2005, 3, 15, 18);
  record.payTo = "Power Co";
  record.account = "ACC-1";
  record.amount = 1234.5;
  record.notes = std::move(notes);
  record.type = 2;
  record.paid = paid;
  return record;
}

std::string Render(std::string_view templateText, const std::vector<DueRecord>& rows,
                   NotesChoice notes = NotesChoice::kWithNotes) {
  Result<std::string> html = RenderHtmlExport(templateText, rows, "March - 2005", notes);
  EXPECT_TRUE(html.ok()) << html.status().message();
  return html.ok() ? html.value() : std::string();
}

TEST(HtmlExport, FillsEveryPlaceholderInListOrder) {
  const std::string page =
      "<h1><{[monthyear]}></h1><{[loopstart]}><p><{[countrecord]}>: <{[duetitle]}> <{[dates]}> "
      "<{[payee]}> <{[account]}> <{[duetype]}> <{[status]}> <{[amount]}><{[notesstart]}> "
      "[<{[notes]}>]<{[notesend]}></p><{[loopend]}><i><{[duetitle]}></i>";
  EXPECT_EQ(Render(page, {Due("Rent", "line 1\r\nline 2", 1), Due("Gas", "")}),
            "<h1>March - 2005</h1>"
            "<p>Record 1 of 2: Rent 03/01/2005 - 03/15/2005 Power Co ACC-1 Personal Paid 1234.50 "
            "[line 1<br>line 2]</p>"
            "<p>Record 2 of 2: Gas 03/01/2005 - 03/15/2005 Power Co ACC-1 Personal Unpaid "
            "1234.50</p><i><{[duetitle]}></i>");
  EXPECT_EQ(Render(page, {Due("Rent", "n")}, NotesChoice::kWithoutNotes),
            "<h1>March - 2005</h1><p>Record 1 of 1: Rent 03/01/2005 - 03/15/2005 Power Co ACC-1 "
            "Personal Unpaid 1234.50</p><i><{[duetitle]}></i>");
}

TEST(HtmlExport, RemovesEveryOccurrenceOfCutSections) {
  // The notes section's content " x" also stands elsewhere in the record section.
  EXPECT_EQ(
      Render("<{[loopstart]}>a x<{[notesstart]}> x<{[notesend]}><{[loopend]}>", {Due("t", "")}),
      "a");
  // The record section's text also stands outside the loop.
  EXPECT_EQ(Render("R<{[loopstart]}>R<{[loopend]}>R", {Due("t", ""), Due("u", "")}), "RR");
}

TEST(HtmlExport, MissingOrMisorderedMarkersGiveAnEmptySection) {
  EXPECT_EQ(Render("a<{[loopstart]}>b<{[duetitle]}>", {Due("t", "")}), "ab<{[duetitle]}>");
  EXPECT_EQ(Render("<{[loopend]}>b<{[loopstart]}>c", {Due("t", "")}), "bc");
  EXPECT_EQ(Render("<{[loopstart]}>[<{[notesend]}>n<{[notesstart]}>]<{[loopend]}>", {Due("t", "")}),
            "[n]");
}

// Values are escaped and shown as typed: markup in them can neither hide nor multiply dues.
TEST(HtmlExport, ValuesAreEscapedAndNotesKeepTheirLineBreaks) {
  DueRecord due = Due("Invoice <!-- check with Bob", "a < b\r\n\"quoted\" & 'single'");
  due.payTo = "<Stadtwerke>";
  due.account = "<{[loopstart]}>";
  const std::string page =
      "<{[loopstart]}><p><{[duetitle]}>|<{[payee]}>|<{[account]}>|<{[notes]}></p><{[loopend]}>";
  EXPECT_EQ(Render(page, {due, Due("Strom & Gas", "")}),
            "<p>Invoice &lt;!-- check with Bob|&lt;Stadtwerke&gt;|&lt;{[loopstart]}&gt;|"
            "a &lt; b<br>&quot;quoted&quot; &amp; &#39;single&#39;</p>"
            "<p>Strom &amp; Gas|Power Co|ACC-1|</p>");
}

TEST(HtmlExport, StopsWhenTheTemplateMultipliesThePagePastTheLimit) {
  // An empty account joins "<{[loop" and "start]}>" into two new markers per record.
  DueRecord due = Due("t", "");
  due.account.clear();
  const std::vector<DueRecord> rows(64, due);
  const Result<std::string> html = RenderHtmlExport(
      "<{[loopstart]}><{[loop<{[account]}>start]}><{[loop<{[account]}>start]}><{[loopend]}>", rows,
      "m", NotesChoice::kWithNotes);
  ASSERT_FALSE(html.ok());
  EXPECT_EQ(html.status().message(), MessageText(MessageId::kDocumentTooLarge));
}

TEST(HtmlExport, MatchesTheLiteralAlgorithmOnGeneratedCases) {
  // Markers, placeholders and pieces of them ("<{[loop" and "start]}>" are two) that joins make
  // whole.
  const std::vector<std::string_view> allTokens = literal::Tokens(
      "<{[loopstart]}> <{[loopend]}> <{[notesstart]}> <{[notesend]}> <{[duetitle]}> <{[dates]}> "
      "<{[payee]}> <{[account]}> <{[duetype]}> <{[status]}> <{[amount]}> <{[notes]}> "
      "<{[countrecord]}> <{[monthyear]}> <{[loop start]}> <{[notes end]}> <{[ ]}> a b \r\n <{[dat");
  std::mt19937 random(20050301);
  for (int round = 0; round < 50000; ++round) {
    const std::vector<std::string_view> tokens = literal::RandomAlphabet(random, allTokens);
    const std::string page = literal::RandomText(random, tokens, 12);
    std::vector<DueRecord> rows;
    for (int i = std::uniform_int_distribution<int>(0, 4)(random); i > 0; --i) {
      DueRecord row = Due(literal::RandomText(random, tokens, 3),
                          literal::RandomText(random, tokens, 2), i % 2);
      row.payTo = literal::RandomText(random, tokens, 2);
      row.account = literal::RandomText(random, tokens, 1);
      rows.push_back(row);
    }
    const bool withNotes = round % 3 != 0;
    SCOPED_TRACE("template: " + page + "\ntitle: " + (rows.empty() ? "" : rows[0].title));
    ASSERT_EQ(Render(page, rows, withNotes ? NotesChoice::kWithNotes : NotesChoice::kWithoutNotes),
              literal::HtmlExport(page, rows, "March - 2005", withNotes));
  }
}

}  // namespace
}  // namespace paylark

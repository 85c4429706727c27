#include "core/print/print_page.h"

#include <gtest/gtest.h>

#include <random>

#include "core/base/messages.h"
#include "tests/core/export/literal_templates.h"

namespace paylark {
namespace {

OleDateTime Month(int year, int month) {
  return *OleDateTime::FromCivil(year, month, 10, 12);
}

DueRecord Due(std::string title, double amount, int paid, std::string seriesId = "") {
  DueRecord record;
  record.title = std::move(title);
  record.startDate = *OleDateTime::FromCivil(2005, 3, 1);
  record.dueDate = *OleDateTime::FromCivil(2005, 3, 15);
  record.payTo = "Power Co";
  record.account = "ACC";
  record.amount = amount;
  record.paid = paid;
  record.seriesId = std::move(seriesId);
  return record;
}

std::string Render(std::string_view page, const std::vector<DueRecord>& checked,
                   const OleDateTime& from = Month(2005, 3),
                   const OleDateTime& to = Month(2005, 3)) {
  Result<std::string> html = RenderPrintPage(page, checked, from, to);
  EXPECT_TRUE(html.ok()) << html.status().message();
  return html.ok() ? html.value() : std::string();
}

TEST(PrintPage, MonthRangeIsOneMonthOrTwo) {
  EXPECT_EQ(MonthRangeText(Month(2005, 3), *OleDateTime::FromCivil(2005, 3, 31)), " Mar/2005 ");
  EXPECT_EQ(MonthRangeText(Month(2005, 3), Month(2005, 5)), "Mar/2005 - May/2005");
  EXPECT_EQ(MonthRangeText(Month(2004, 3), Month(2005, 3)), "Mar/2004 - Mar/2005");
}

TEST(PrintPage, RendersHeaderRecordsSumsAndFooterByteExact) {
  const std::string page =
      "<{[headerstart]}>[<{[headerleft]}>|<{[headercenter]}>|<{[headerright]}>]<{[headerend]}>"
      "<{[loopstart]}>(<{[snumber]}> <{[icon]}> <{[duetitle]}> <{[startdate]}> <{[duedate]}> "
      "<{[payee]}> <{[account]}> <{[duetype]}> <{[status]}> <{[amount]}> <{[notes]}>)"
      "<{[loopend]}>P=<{[paidamount]}> U=<{[unpaidamount]}> T=<{[totalamount]}>"
      "<{[footerstart]}>{<{[footerleft]}><{[headerleft]}><{[paidamount]}>}<{[footerend]}>";
  EXPECT_EQ(Render(page, {Due("Rent", 100.25, 1, "recId20050301000000"), Due("Gas", 20, 0)},
                   Month(2005, 3), Month(2005, 5)),
            "[Due Date Details|Mar/2005 - May/2005|]"
            "(1. recicon.bmp Rent 01 Mar, 2005 15 Mar, 2005 Power Co ACC Business Paid 100.25 "
            "<{[notes]}>)(2. icon.bmp Gas 01 Mar, 2005 15 Mar, 2005 Power Co ACC Business Unpaid "
            "20.00 <{[notes]}>)P=100.25 U=20.00 T=120.25{<{[paidamount]}>}");
}

TEST(PrintPage, WithoutHeaderAndFooterRendersRecordsAndSums) {
  EXPECT_EQ(Render("<{[loopstart]}><{[snumber]}><{[loopend]}>=<{[totalamount]}>", {}), "=0.00");
  EXPECT_EQ(Render("<{[loopstart]}><{[snumber]}><{[loopend]}>=<{[totalamount]}>",
                   {Due("a", 1, 0), Due("b", 2, 1)}),
            "1.2.=3.00");
}

TEST(PrintPage, PaidDuesShowWhatWasPaidAndIncomesStayOutOfTheSums) {
  DueRecord power = Due("Power", 60, 1);
  power.paidAmount = 61.37;
  DueRecord salary = Due("Salary", 2000, 0);
  salary.type = kTypeIncome;
  EXPECT_EQ(Render("<{[loopstart]}><{[duetitle]}> <{[duetype]}> <{[amount]}>;<{[loopend]}>"
                   "P=<{[paidamount]}> U=<{[unpaidamount]}> T=<{[totalamount]}>",
                   {power, salary, Due("Gas", 20, 0)}),
            "Power Business 61.37;Salary Income 2000.00;Gas Business 20.00;"
            "P=61.37 U=20.00 T=81.37");
}

// A title holding "<!--" once hid the following dues and the sums.
TEST(PrintPage, ValuesAreEscapedSoMarkupCannotHideDuesOrSums) {
  DueRecord tricky = Due("Invoice <!-- check with Bob", 10, 0);
  tricky.payTo = "<Stadtwerke> & \"Co\"";
  EXPECT_EQ(Render("<{[loopstart]}>(<{[duetitle]}>/<{[payee]}>)<{[loopend]}>=<{[totalamount]}>",
                   {tricky, Due("It's", 5, 1)}),
            "(Invoice &lt;!-- check with Bob/&lt;Stadtwerke&gt; &amp; &quot;Co&quot;)"
            "(It&#39;s/Power Co)=15.00");
}

TEST(PrintPage, StopsWhenTheTemplateMultipliesThePagePastTheLimit) {
  // An empty account joins "<{[loop" and "start]}>" into two new markers per due.
  DueRecord due = Due("t", 1, 0);
  due.account.clear();
  const std::vector<DueRecord> rows(64, due);
  const Result<std::string> html = RenderPrintPage(
      "<{[loopstart]}><{[loop<{[account]}>start]}><{[loop<{[account]}>start]}><{[loopend]}>", rows,
      Month(2005, 3), Month(2005, 3));
  ASSERT_FALSE(html.ok());
  EXPECT_EQ(html.status().message(), MessageText(MessageId::kDocumentTooLarge));
}

TEST(PrintPage, MatchesTheLiteralAlgorithmOnGeneratedCases) {
  // Markers, placeholders and pieces of them ("<{[loop" and "start]}>" are two) that joins make
  // whole.
  const std::vector<std::string_view> allTokens = literal::Tokens(
      "<{[loopstart]}> <{[loopend]}> <{[headerstart]}> <{[headerend]}> <{[footerstart]}> "
      "<{[footerend]}> <{[headerleft]}> <{[headercenter]}> <{[headerright]}> <{[footerleft]}> "
      "<{[snumber]}> <{[icon]}> <{[duetitle]}> <{[startdate]}> <{[payee]}> <{[account]}> "
      "<{[status]}> <{[amount]}> <{[paidamount]}> <{[unpaidamount]}> <{[totalamount]}> <{[loop "
      "start]}> <{[header <{[ ]}> a b end]}>");
  std::mt19937 random(20050315);
  for (int round = 0; round < 50000; ++round) {
    const std::vector<std::string_view> tokens = literal::RandomAlphabet(random, allTokens);
    const std::string page = literal::RandomText(random, tokens, 12);
    std::vector<DueRecord> rows;
    for (int i = std::uniform_int_distribution<int>(0, 4)(random); i > 0; --i) {
      DueRecord row =
          Due(literal::RandomText(random, tokens, 3), i * 1.5, i % 2, i % 3 == 0 ? "recId1" : "");
      row.payTo = literal::RandomText(random, tokens, 2);
      rows.push_back(row);
    }
    SCOPED_TRACE("template: " + page);
    ASSERT_EQ(Render(page, rows, Month(2005, 3), Month(2005, 5)),
              literal::PrintPage(page, rows, "Mar/2005 - May/2005"));
  }
}

}  // namespace
}  // namespace paylark

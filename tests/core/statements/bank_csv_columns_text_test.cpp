#include "core/statements/bank_csv_columns_text.h"

#include <gtest/gtest.h>

namespace paylark {
namespace {

TEST(ColumnsTextTest, FormatsAndParsesEveryRole) {
  BankCsvColumns columns;
  columns.date = 0;
  columns.debit = 3;
  columns.credit = 4;
  columns.counterparty = 2;
  columns.description = 1;
  columns.reference = 9;
  columns.debitCreditMark = 5;
  const std::string text = FormatColumnsText(columns);
  EXPECT_EQ(text, "date=1,debit=4,credit=5,counterparty=3,description=2,reference=10,mark=6");
  const Result<BankCsvColumns> parsed = ParseColumnsText(text);
  ASSERT_TRUE(parsed.ok()) << parsed.status().message();
  EXPECT_EQ(parsed.value(), columns);
  const Result<BankCsvColumns> spaced = ParseColumnsText(" date = 2 , amount=5 ");
  ASSERT_TRUE(spaced.ok()) << spaced.status().message();
  EXPECT_EQ(FormatColumnsText(spaced.value()), "date=2,amount=5");
  EXPECT_EQ(FormatColumnsText({}), "");
}

TEST(ColumnsTextTest, BadTextsSayWhichPartIsWrong) {
  const struct {
    std::string text;
    std::string said;
  } cases[] = {
      {"date=1,amount", "\"amount\": a role and a column are written role=column"},
      {"date=0", "\"date=0\": the column is a number from 1"},
      {"date=x", "the column is a number from 1"},
      {"date=1,date=2", "\"date=2\": the role is named twice"},
      {"payee=3", "\"payee=3\": there is no such role"},
  };
  for (const auto& [text, said] : cases) {
    const Result<BankCsvColumns> parsed = ParseColumnsText(text);
    ASSERT_FALSE(parsed.ok()) << text;
    EXPECT_NE(parsed.status().message().find(said), std::string::npos)
        << text << " gave: " << parsed.status().message();
  }
}

}  // namespace
}  // namespace paylark

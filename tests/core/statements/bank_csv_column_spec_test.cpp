#include "core/statements/bank_csv_column_spec.h"

#include <gtest/gtest.h>

namespace paylark {
namespace {

TEST(BankCsvColumnSpecTest, ReadsColumnsCountedFromOneAndWritesThemBack) {
  const Result<BankCsvColumns> columns =
      ParseBankCsvColumns("counterparty=3,date=1,amount=4,description=5");
  ASSERT_TRUE(columns.ok()) << columns.status().message();
  EXPECT_EQ(columns.value().date, 0);
  EXPECT_EQ(columns.value().amount, 3);
  EXPECT_EQ(columns.value().counterparty, 2);
  EXPECT_EQ(columns.value().description, 4);
  EXPECT_FALSE(columns.value().debit);
  EXPECT_EQ(BankCsvColumnsText(columns.value()), "date=1,amount=4,counterparty=3,description=5");

  const Result<BankCsvColumns> split = ParseBankCsvColumns("date=2,debit=5,credit=6,reference=9");
  const Result<BankCsvColumns> marked = ParseBankCsvColumns("date=1,amount=3,mark=4");
  ASSERT_TRUE(marked.ok());
  EXPECT_EQ(marked.value().debitCreditMark, 3);
  EXPECT_EQ(BankCsvColumnsText(marked.value()), "date=1,amount=3,mark=4");
  ASSERT_TRUE(split.ok());
  EXPECT_EQ(ParseBankCsvColumns(BankCsvColumnsText(split.value())).value(), split.value());
}

TEST(BankCsvColumnSpecTest, RefusesWhatIsNoMappingAndSaysWhy) {
  const struct {
    const char* spec;
    const char* says;
  } cases[] = {
      {"", "the date column is needed"},
      {"amount=2", "the date column is needed"},
      {"date=1", "give either amount=N or debit=N and credit=N"},
      {"date=1,amount=2,debit=3", "give either"},
      {"date=1,amount=1", "column 1 is given twice"},
      {"date=1,date=2,amount=3", "date is given twice"},
      {"date=0,amount=2", "date needs a column number from 1 to 1000"},
      {"date=1,amount=x", "amount needs a column number"},
      {"when=1", "\"when=1\" is not name=column"},
      {"date=1,debit=2,credit=3,mark=4", "mark=N gives the sign of an amount column"},
      {"date=1 ,amount=2", "date needs a column number"},
  };
  for (const auto& c : cases) {
    const Result<BankCsvColumns> columns = ParseBankCsvColumns(c.spec);
    ASSERT_FALSE(columns.ok()) << c.spec;
    EXPECT_NE(columns.status().message().find(c.says), std::string::npos)
        << c.spec << ": " << columns.status().message();
  }
}

}  // namespace
}  // namespace paylark

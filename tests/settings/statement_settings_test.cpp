#include "settings/statement_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "core/statements/bank_csv_columns_text.h"
#include "tests/settings/stored_settings.h"

namespace paylark::testing {
namespace {

class StatementSettingsTest : public ::testing::Test {
 protected:
  void Store(const std::string& text) { StoreSettings(config_, text); }

  static BankCsvColumns Columns(const char* text) { return ParseColumnsText(text).value(); }

 private:
  ScratchFolder config_;
};

TEST_F(StatementSettingsTest, MatchOptionsComeFromTheSettingsWithinTheirRanges) {
  Store("");
  const MatchOptions defaults = ReadMatchOptions();
  EXPECT_EQ(defaults.daysBefore, 4);
  EXPECT_EQ(defaults.daysAfter, 10);
  EXPECT_DOUBLE_EQ(defaults.tolerance, 0.075);

  Store("[Statements]\nDaysBefore=2\nDaysAfter=99\nTolerance=20\n");
  const MatchOptions stored = ReadMatchOptions();
  EXPECT_EQ(stored.daysBefore, 2);
  EXPECT_EQ(stored.daysAfter, 60);
  EXPECT_DOUBLE_EQ(stored.tolerance, 0.02);
}

TEST_F(StatementSettingsTest, ColumnsAreRememberedPerHeaderLine) {
  Store("");
  const std::string german = "Buchungstag;Empfänger;Verwendungszweck;Betrag";
  const std::string us = "Date,Description,Debit,Credit";
  EXPECT_FALSE(RememberedBankCsvColumns(german));
  RememberBankCsvColumns(german, Columns("date=1,counterparty=2,description=3,amount=4"));
  RememberBankCsvColumns(us, Columns("date=1,description=2,debit=3,credit=4"));
  RememberBankCsvColumns(german, Columns("date=1,amount=4"));
  EXPECT_EQ(RememberedBankCsvColumns(german), Columns("date=1,amount=4"));
  EXPECT_EQ(RememberedBankCsvColumns(us), Columns("date=1,description=2,debit=3,credit=4"));
  EXPECT_FALSE(RememberedBankCsvColumns("Date,Description"));

  RememberBankCsvColumns("a\nb", Columns("date=1,amount=2"));
  EXPECT_FALSE(RememberedBankCsvColumns("a\nb"));
}

}  // namespace
}  // namespace paylark::testing

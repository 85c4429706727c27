#include "core/base/format.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/support/scoped_locale.h"

namespace paylark {
namespace {

const OleDateTime kEvening = *OleDateTime::FromCivil(2007, 2, 10, 18, 0, 5);
const OleDateTime kMorning = *OleDateTime::FromCivil(2007, 3, 1, 9, 5, 0);
const OleDateTime kMidnight = *OleDateTime::FromCivil(2007, 3, 1);

class FormatTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    locale_.emplace(GetParam());
    ASSERT_TRUE(locale_->ok()) << GetParam();
  }
  bool German() const { return std::string(GetParam()) == "de_DE.UTF-8"; }

  std::optional<testing::ScopedLocale> locale_;
};

TEST_P(FormatTest, CurrencyFollowsTheLocale) {
  struct Case {
    const char* text;
    const char* english;
    const char* german;
  };
  const Case cases[] = {{"1234.5", "$1,234.50", "1.234,50 €"},
                        {" -1.00 ", "-$1.00", "-1,00 €"},
                        {"0.00", "$0.00", "0,00 €"},
                        {"not a number", "not a number", "not a number"}};
  for (const Case& c : cases)
    EXPECT_EQ(FormatCurrency(c.text), German() ? c.german : c.english) << c.text;
  EXPECT_EQ(FormatAmountNumber(850), "850.00");
  EXPECT_EQ(FormatAmountNumber(0.125), "0.12");
}

TEST_P(FormatTest, EmptyPicturesAreTheLocalesShortDateAndTimeWithoutSeconds) {
  EXPECT_EQ(FormatDate(kEvening, ""), German() ? "10.02.2007" : "02/10/2007");
  EXPECT_EQ(FormatTime(kEvening, ""), German() ? "18:00" : "06:00 PM");
  EXPECT_EQ(FormatDateTimeText(kEvening),
            German() ? "10.02.2007 18:00:05" : "02/10/2007 06:00:05 PM");
  EXPECT_EQ(FormatDateTimeText(kMidnight), German() ? "01.03.2007" : "03/01/2007");
  // A document's date is the short date with a four-digit year.
  EXPECT_EQ(FormatDocumentDate(kMorning), German() ? "01.03.2007" : "03/01/2007");
}

TEST_P(FormatTest, PicturesUseTheWindowsNotation) {
  struct Case {
    const char* picture;
    const char* english;
    const char* german;
  };
  const Case cases[] = {
      {"MM/dd/yyyy  hh:mm:ss tt", "03/01/2007  09:05:00 AM", "03/01/2007  09:05:00 "},
      {"MMMM - yyyy", "March - 2007", "März - 2007"},
      {"MMM - yyyy", "Mar - 2007", "Mär - 2007"},
      {"dd MMM, yyyy", "01 Mar, 2007", "01 Mär, 2007"},
      {"MMM/yyyy", "Mar/2007", "Mär/2007"},
      {"dd/MM/yyyy", "01/03/2007", "01/03/2007"},
      {"d.M.yy dddd 'at' H:m", "1.3.07 Thursday at 9:5", "1.3.07 Donnerstag at 9:5"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatDate(kMorning, c.picture), German() ? c.german : c.english) << c.picture;
  EXPECT_EQ(FormatStrftime(kMorning, "%B, %Y"), German() ? "März, 2007" : "March, 2007");
}

INSTANTIATE_TEST_SUITE_P(Locales, FormatTest, ::testing::Values("en_US.UTF-8", "de_DE.UTF-8"));

TEST(FormatCLocaleTest, PlainNumbersWithoutACurrencySymbol) {
  const testing::ScopedLocale c("C");
  EXPECT_EQ(FormatCurrency("1234.50"), "1234.50");
  EXPECT_EQ(FormatDocumentDate(kMorning), "03/01/2007");
}

// ISO-8859-15 names and the euro sign reach documents as UTF-8, never as raw single bytes.
TEST(FormatSingleByteLocaleTest, LocaleTextIsConvertedToUtf8) {
  const testing::ScopedLocale euro("de_DE@euro");
  ASSERT_TRUE(euro.ok());
  EXPECT_EQ(FormatCurrency("1234.5"), "1.234,50 €");
  EXPECT_EQ(FormatDate(kMorning, "MMMM - yyyy"), "März - 2007");
  EXPECT_EQ(FormatStrftime(kMorning, "%B, %Y"), "März, 2007");
  EXPECT_EQ(FormatDate(kMorning, "dddd"), "Donnerstag");
}

struct LocaleCase {
  const char* locale;
  const char* time;         // FormatTime(kMorning, "")
  const char* dateTime;     // FormatDateTimeText(kEvening)
  const char* wholeAmount;  // FormatAmount(1235)
  const char* centsAmount;  // FormatAmount(1234.56)
};

// Every field of the locale's time format is translated; seconds go with their unit word, and
// amounts show the cents wherever a value has them, even where the currency has no fraction.
TEST(FormatLocalesTest, TimesKeepTheirFieldsAndAmountsKeepTheirCents) {
  const LocaleCase cases[] = {
      {"ja_JP.UTF-8", "09時05分", "2007年02月10日 18時00分05秒", "￥1,235", "￥1,234.56"},
      {"ko_KR.UTF-8", "09시 05분", "2007년 02월 10일 18시 00분 05초", "₩1,235", "₩1,234.56"},
      {"zh_CN.UTF-8", "09时05分", "2007年02月10日 18时00分05秒", "￥1,235.00", "￥1,234.56"},
      {"de_DE@euro", "09:05", "10.02.2007 18:00:05", "1.235,00 €", "1.234,56 €"},
      {"bg_BG.UTF-8", " 9:05", "10.02.2007 18:00:05", "1\u202f235,00 лв.", "1\u202f234,56 лв."},
      {"ar_SA.UTF-8", " 9:05", "السبت 10 فبراير 2007 18:00:05", "1235.00 ر.س", "1234.56 ر.س"},
      {"en_US.UTF-8", "09:05 AM", "02/10/2007 06:00:05 PM", "$1,235.00", "$1,234.56"},
  };
  for (const LocaleCase& c : cases) {
    const testing::ScopedLocale scoped(c.locale);
    if (!scoped.ok()) {
      ADD_FAILURE() << c.locale << " is not installed";
      continue;
    }
    EXPECT_EQ(FormatTime(kMorning, ""), c.time) << c.locale;
    EXPECT_EQ(FormatDateTimeText(kEvening), c.dateTime) << c.locale;
    EXPECT_EQ(FormatAmount(1235), c.wholeAmount) << c.locale;
    EXPECT_EQ(FormatAmount(1234.56), c.centsAmount) << c.locale;
  }
}

}  // namespace
}  // namespace paylark

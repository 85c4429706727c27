#include "core/base/locale_amount.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/scoped_locale.h"

namespace paylark {
namespace {

// A typed text and what it reads as under one locale; a negative value is a refusal.
struct Case {
  const char* text;
  double value;
};

constexpr double kRefused = -1;

void ExpectReads(const char* locale, std::initializer_list<Case> cases) {
  const testing::ScopedLocale scoped(locale);
  ASSERT_TRUE(scoped.ok()) << locale;
  const AmountMarks marks = LocaleAmountMarks();
  for (const Case& c : cases) {
    const std::variant<double, Message> read = ParseLocaleAmount(c.text, marks);
    if (c.value == kRefused) {
      ASSERT_TRUE(std::holds_alternative<Message>(read)) << locale << " \"" << c.text << "\"";
      EXPECT_EQ(std::get<Message>(read).id, MessageId::kEnterNumber) << c.text;
    } else {
      ASSERT_TRUE(std::holds_alternative<double>(read)) << locale << " \"" << c.text << "\"";
      EXPECT_EQ(std::get<double>(read), c.value) << locale << " \"" << c.text << "\"";
    }
  }
}

TEST(LocaleAmountTest, PointLocalesGroupWithCommas) {
  for (const char* locale : {"en_US.UTF-8", "ja_JP.UTF-8"}) {
    ExpectReads(locale, {{"12.50", 12.5},
                         {"1,234.56", 1234.56},
                         {"1,234,567", 1234567},
                         {" 955.5 ", 955.5},
                         {"12,50", kRefused},
                         {"1,2345", kRefused},
                         {",123", kRefused},
                         {"1,", kRefused},
                         {"1.2.3", kRefused},
                         {"1.234,5", kRefused}});
  }
}

TEST(LocaleAmountTest, GermanReadsCommaDecimalsAndPointGroups) {
  ExpectReads("de_DE.UTF-8", {{"12,50", 12.5},
                              {"1.234,56", 1234.56},
                              {"955,50", 955.5},
                              {"1.234.567", 1234567},
                              {"12.50", kRefused},
                              {"1,234.56", kRefused},
                              {"1,2,3", kRefused},
                              {"1,234.", kRefused}});
}

TEST(LocaleAmountTest, FrenchGroupsWithAnyBlank) {
  ExpectReads("fr_FR.UTF-8", {{"12,50", 12.5},
                              {"1 234,56", 1234.56},
                              {"1\u202f234,56", 1234.56},
                              {"1\u00a0234", 1234},
                              {"12.50", kRefused},
                              {"12 50", kRefused}});
}

TEST(LocaleAmountTest, TheCLocaleKeepsThePlainForm) {
  ExpectReads("C", {{"12.5", 12.5}, {"1e+13", 1e13}, {"12,50", kRefused}, {"", kRefused}});
  const std::variant<double, Message> tooLarge =
      ParseLocaleAmount("10000000000000.01", LocaleAmountMarks());
  ASSERT_TRUE(std::holds_alternative<Message>(tooLarge));
  EXPECT_EQ(std::get<Message>(tooLarge).id, MessageId::kEnterNumberInRange);
}

TEST(LocaleAmountTest, TheFieldShowsTheLocalesDecimalMarkWithoutGrouping) {
  {
    const testing::ScopedLocale scoped("de_DE.UTF-8");
    ASSERT_TRUE(scoped.ok());
    const AmountMarks german = LocaleAmountMarks();
    EXPECT_EQ(AmountFieldText(61.75, german), "61,75");
    EXPECT_EQ(AmountFieldText(1234567.5, german), "1234567,5");
    EXPECT_EQ(AmountFieldText(850, german), "850");
  }
  {
    const testing::ScopedLocale scoped("fr_FR.UTF-8");
    ASSERT_TRUE(scoped.ok());
    EXPECT_TRUE(IsGroupingMark(" ", LocaleAmountMarks()));
  }
  const testing::ScopedLocale c("C");
  EXPECT_EQ(AmountFieldText(61.75, LocaleAmountMarks()), "61.75");
  EXPECT_EQ(GroupedAmountText(1234567.5, LocaleAmountMarks()), "1234567.50");
}

// A payment field offers the amount as the locale writes it, and reads it back exactly.
TEST(LocaleAmountTest, GroupedTextIsTheLocalesFormAndReadsBack) {
  const struct {
    const char* locale;
    double amount;
    const char* text;
  } cases[] = {
      {"en_US.UTF-8", 2400, "2,400.00"},     {"en_US.UTF-8", 1234567.891, "1,234,567.89"},
      {"en_US.UTF-8", -1234.5, "-1,234.50"}, {"en_US.UTF-8", 999.99, "999.99"},
      {"de_DE.UTF-8", 1234.56, "1.234,56"},  {"de_DE.UTF-8", 0.5, "0,50"},
  };
  for (const auto& item : cases) {
    const testing::ScopedLocale scoped(item.locale);
    ASSERT_TRUE(scoped.ok()) << item.locale;
    const AmountMarks marks = LocaleAmountMarks();
    EXPECT_EQ(GroupedAmountText(item.amount, marks), item.text)
        << item.locale << " " << item.amount;
    if (item.amount >= 0) {
      const std::variant<double, Message> read = ParseLocaleAmount(item.text, marks);
      ASSERT_TRUE(std::holds_alternative<double>(read)) << item.text;
      EXPECT_EQ(std::llround(std::get<double>(read) * 100), std::llround(item.amount * 100))
          << item.text;
    }
  }
  EXPECT_FALSE(IsGroupingMark(",", LocaleAmountMarks()));
}

}  // namespace
}  // namespace paylark

#include "core/bills/payment_checks.h"

#include <gtest/gtest.h>

#include <map>

#include "core/bills/bill_amount.h"
#include "tests/support/scoped_locale.h"

namespace paylark::testing {
namespace {

TEST(PaymentCheckTest, EachCodeAgreesWithItsCheckDigits) {
  const struct {
    bool (*valid)(std::string_view);
    std::vector<const char*> passing;
    std::vector<const char*> failing;
  } checks[] = {
      {IsValidIban,
       {"DE89 3704 0044 0532 0130 00", "de89370400440532013000", "CH44 3199 9123 0008 8901 2",
        "GB29NWBK60161331926819"},
       {"DE88370400440532013000", "DE8937040044053201300", "DE89-3704-0044-0532-0130-00",
        "8937040044053201300000", ""}},
      {IsValidCreditorReference,
       {"RF18 5390 0754 7034", "RF18539007547034", "RF712348231"},
       {"RF19539007547034", "RF18", "RF1853900754703412345678901", "XX18539007547034"}},
      // The QR reference's check digit is the recursive one of modulo 10.
      {IsValidQrReference,
       {"21 00000 00003 13947 14300 09017", "000000000000000000000000000"},
       {"210000000003139471430009018", "21000000000313947143000901",
        "21000000000313947143000901A"}},
  };
  for (const auto& check : checks) {
    for (const char* code : check.passing)
      EXPECT_TRUE(check.valid(CompactCode(code))) << code;
    for (const char* code : check.failing)
      EXPECT_FALSE(check.valid(CompactCode(code))) << code;
  }
}

TEST(PaymentCheckTest, GroupsCodesInFours) {
  EXPECT_EQ(GroupsOfFour("DE89370400440532013000"), "DE89 3704 0044 0532 0130 00");
  EXPECT_EQ(GroupsOfFour(""), "");
}

// The formats write a point whatever the reader's locale, so a comma locale changes nothing.
TEST(BillAmountTest, ReadsExactCentsUnderACommaLocale) {
  const ScopedLocale german("de_DE.UTF-8");
  ASSERT_TRUE(german.ok());
  const std::map<std::string, Cents> read = {{"184.37", 18437}, {"12.5", 1250},
                                             {"80", 8000},      {"0.01", 1},
                                             {"1.100", 110},    {"999999999.99", 99999999999}};
  for (const auto& [text, cents] : read)
    EXPECT_EQ(ParseBillAmount(text), cents) << text;
  for (const char* text :
       {"1.105", "184,37", "1,234.50", "-5.00", "5.", ".5", "1e3", "1000000000.00", ""})
    EXPECT_FALSE(ParseBillAmount(text)) << '"' << text << '"';
}

}  // namespace
}  // namespace paylark::testing

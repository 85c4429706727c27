#include "core/bills/payment_checks.h"

#include <gtest/gtest.h>

#include "core/bills/bill_amount.h"
#include "tests/support/scoped_locale.h"

namespace paylark::testing {
namespace {

struct CheckCase {
  const char* code;
  bool valid;
};

void PrintTo(const CheckCase& check, std::ostream* out) {
  *out << check.code;
}

class IbanCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(IbanCheckTest, AgreesWithTheCheckDigits) {
  EXPECT_EQ(IsValidIban(CompactCode(GetParam().code)), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Ibans, IbanCheckTest,
                         ::testing::Values(CheckCase{"DE89 3704 0044 0532 0130 00", true},
                                           CheckCase{"de89370400440532013000", true},
                                           CheckCase{"CH44 3199 9123 0008 8901 2", true},
                                           CheckCase{"GB29NWBK60161331926819", true},
                                           CheckCase{"DE88370400440532013000", false},
                                           CheckCase{"DE8937040044053201300", false},
                                           CheckCase{"DE89-3704-0044-0532-0130-00", false},
                                           CheckCase{"8937040044053201300000", false},
                                           CheckCase{"", false}));

class CreditorReferenceCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CreditorReferenceCheckTest, AgreesWithTheCheckDigits) {
  EXPECT_EQ(IsValidCreditorReference(CompactCode(GetParam().code)), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    References, CreditorReferenceCheckTest,
    ::testing::Values(CheckCase{"RF18 5390 0754 7034", true}, CheckCase{"RF18539007547034", true},
                      CheckCase{"RF712348231", true}, CheckCase{"RF19539007547034", false},
                      CheckCase{"RF18", false}, CheckCase{"RF1853900754703412345678901", false},
                      CheckCase{"XX18539007547034", false}));

class QrReferenceCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(QrReferenceCheckTest, AgreesWithTheRecursiveCheckDigit) {
  EXPECT_EQ(IsValidQrReference(CompactCode(GetParam().code)), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(References, QrReferenceCheckTest,
                         ::testing::Values(CheckCase{"21 00000 00003 13947 14300 09017", true},
                                           CheckCase{"000000000000000000000000000", true},
                                           CheckCase{"210000000003139471430009018", false},
                                           CheckCase{"21000000000313947143000901", false},
                                           CheckCase{"21000000000313947143000901A", false}));

TEST(PaymentCheckTest, GroupsCodesInFours) {
  EXPECT_EQ(GroupsOfFour("DE89370400440532013000"), "DE89 3704 0044 0532 0130 00");
  EXPECT_EQ(GroupsOfFour(""), "");
}

struct AmountCase {
  const char* text;
  std::optional<Cents> cents;
};

void PrintTo(const AmountCase& amount, std::ostream* out) {
  *out << '"' << amount.text << '"';
}

class BillAmountTest : public ::testing::TestWithParam<AmountCase> {};

// The formats write a point whatever the reader's locale, so a comma locale changes nothing.
TEST_P(BillAmountTest, ReadsExactCentsUnderACommaLocale) {
  const ScopedLocale german("de_DE.UTF-8");
  ASSERT_TRUE(german.ok());
  EXPECT_EQ(ParseBillAmount(GetParam().text), GetParam().cents);
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, BillAmountTest,
    ::testing::Values(AmountCase{"184.37", 18437}, AmountCase{"12.5", 1250}, AmountCase{"80", 8000},
                      AmountCase{"0.01", 1}, AmountCase{"1.100", 110},
                      AmountCase{"999999999.99", 99999999999}, AmountCase{"1.105", std::nullopt},
                      AmountCase{"184,37", std::nullopt}, AmountCase{"1,234.50", std::nullopt},
                      AmountCase{"-5.00", std::nullopt}, AmountCase{"5.", std::nullopt},
                      AmountCase{".5", std::nullopt}, AmountCase{"1e3", std::nullopt},
                      AmountCase{"1000000000.00", std::nullopt}, AmountCase{"", std::nullopt}));

}  // namespace
}  // namespace paylark::testing

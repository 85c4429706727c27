#include "core/bills/payment_code.h"

#include <gtest/gtest.h>

#include "tests/support/bill_samples.h"

namespace paylark::testing {
namespace {

Bill Read(const std::string& text) {
  Result<Bill> bill = ReadPaymentCode(text);
  EXPECT_TRUE(bill.ok()) << bill.status().message();
  return bill.ok() ? bill.value() : Bill{};
}

// A Swiss QR-bill to the Swiss sample IBAN, with `change` made to the sample.
template <class Change>
std::string Swiss(Change change) {
  return SwissCode(Changed<CodeSample>([&](CodeSample& sample) {
    sample.iban = kSampleSwissIban;
    change(sample);
  }));
}

std::string Refused(const std::string& text) {
  const Result<Bill> bill = ReadPaymentCode(text);
  EXPECT_FALSE(bill.ok());
  return bill.status().message();
}

TEST(EpcCodeTest, ReadsVersion002WithACreditorReference) {
  const Bill bill = Read(EpcCode({}));
  EXPECT_EQ(bill.source, BillSource::kEpcCode);
  EXPECT_EQ(bill.seller, "Stadtwerke Nordhafen");
  EXPECT_EQ(bill.payeeAccount, "DE89 3704 0044 0532 0130 00");
  EXPECT_EQ(bill.amount, 18437);
  EXPECT_EQ(bill.currency, "EUR");
  EXPECT_EQ(bill.reference, kSampleCreditorReference);
  EXPECT_FALSE(bill.dueDate);
  EXPECT_TRUE(bill.warnings.empty());
}

TEST(EpcCodeTest, ReadsVersion001WithItsBicAndCrLfLines) {
  std::string code = EpcCode(Changed<CodeSample>([](auto& s) {
                               s.reference = "";
                               s.text = "Kundennr. 4471";
                             }),
                             "001");
  for (std::size_t at = code.find('\n'); at != std::string::npos; at = code.find('\n', at + 2))
    code.insert(at, "\r");
  const Bill bill = Read(code);
  EXPECT_EQ(bill.payeeAccount, "DE89 3704 0044 0532 0130 00");
  EXPECT_EQ(bill.reference, "");
  EXPECT_EQ(bill.message, "Kundennr. 4471");
}

TEST(EpcCodeTest, AMissingAmountIsLeftOpenAndAnUnreadableOneSaysSo) {
  const Bill open = Read(EpcCode(Changed<CodeSample>([](auto& s) { s.amount = ""; })));
  EXPECT_FALSE(open.amount);
  EXPECT_EQ(open.reference, kSampleCreditorReference);
  EXPECT_TRUE(open.warnings.empty());
  const Bill bill = Read(EpcCode(Changed<CodeSample>([](auto& s) { s.amount = "12,50"; })));
  EXPECT_FALSE(bill.amount);
  EXPECT_EQ(bill.warnings, std::vector<std::string>{"The amount \"12,50\" is not one Paylark "
                                                    "can read, so it was left out."});
}

TEST(EpcCodeTest, FailingChecksLeaveTheFieldOutAndKeepTheRest) {
  const Bill bill = Read(EpcCode(Changed<CodeSample>([](auto& s) {
    s.iban = "DE88370400440532013000";
    s.reference = "RF19539007547034";
  })));
  EXPECT_EQ(bill.payeeAccount, "");
  EXPECT_EQ(bill.reference, "");
  EXPECT_EQ(bill.amount, 18437);
  EXPECT_EQ(bill.warnings,
            (std::vector<std::string>{
                "The IBAN DE88370400440532013000 fails its check digits, so it was left out.",
                "The creditor reference RF19539007547034 fails its check digits, so it was left "
                "out."}));
}

TEST(EpcCodeTest, ALatinOneNameIsReadAsLatinOne) {
  std::string code = EpcCode(Changed<CodeSample>([](auto& s) { s.name = "M\xFCller"; }));
  code.replace(code.find("\n1\n"), 3, "\n2\n");
  EXPECT_EQ(Read(code).seller, "M\xC3\xBCller");
}

TEST(SwissCodeTest, ReadsAQrReferenceAndTheAmountInFrancs) {
  const Bill bill = Read(Swiss([](auto& s) {
    s.name = "Robert Schneider AG";
    s.amount = "1949.75";
    s.reference = kSampleQrReference;
    s.text = "Auftrag vom 15.06.2026";
  }));
  EXPECT_EQ(bill.source, BillSource::kSwissCode);
  EXPECT_EQ(bill.seller, "Robert Schneider AG");
  EXPECT_EQ(bill.payeeAccount, "CH44 3199 9123 0008 8901 2");
  EXPECT_EQ(bill.amount, 194975);
  EXPECT_EQ(bill.currency, "CHF");
  EXPECT_EQ(bill.reference, kSampleQrReference);
  EXPECT_EQ(bill.message, "Auftrag vom 15.06.2026");
  EXPECT_TRUE(bill.warnings.empty());
}

TEST(SwissCodeTest, ReadsACreditorReferenceOrNoneAndLeavesOutAWrongQrReference) {
  EXPECT_EQ(Read(Swiss([](auto&) {})).reference, kSampleCreditorReference);
  EXPECT_EQ(Read(Swiss([](auto& s) { s.reference = ""; })).reference, "");
  const Bill bill = Read(Swiss([](auto& s) { s.reference = "210000000003139471430009018"; }));
  EXPECT_EQ(bill.reference, "");
  EXPECT_EQ(bill.warnings, std::vector<std::string>{"The QR reference 210000000003139471430009018 "
                                                    "fails its check digit, so it was left out."});
}

TEST(SwissCodeTest, ACodeCutShortKeepsWhatItHasAndSaysSo) {
  std::string code = Swiss([](auto&) {});
  code.erase(code.rfind("\r\n"));
  const Bill bill = Read(code);
  EXPECT_EQ(bill.amount, 18437);
  ASSERT_EQ(bill.warnings.size(), 1U);
  EXPECT_NE(bill.warnings[0].find("ends early"), std::string::npos);
}

TEST(PaymentCodeTest, OtherCodesAndVersionsAreRefusedByName) {
  EXPECT_EQ(Refused("https://example.org/pay"),
            "The code is not a payment code (an EPC SEPA transfer or a Swiss QR-bill).");
  std::string epc = EpcCode({});
  epc.replace(4, 3, "003");
  EXPECT_EQ(Refused(epc),
            "The payment code is an EPC code of version 003, which Paylark does "
            "not read (it reads 001 and 002).");
  std::string instant = EpcCode({});
  instant.replace(instant.find("SCT"), 3, "INST");
  EXPECT_NE(Refused(instant).find("not a SEPA credit transfer"), std::string::npos);
  std::string swiss = SwissCode({});
  swiss.replace(5, 4, "0100");
  EXPECT_NE(Refused(swiss).find("version 0100"), std::string::npos);
  EXPECT_NE(Refused("BCD\n002\n" + std::string(5000, 'x')).find("too long"), std::string::npos);
  EXPECT_FALSE(ReadPaymentCode("").ok());
}

}  // namespace
}  // namespace paylark::testing

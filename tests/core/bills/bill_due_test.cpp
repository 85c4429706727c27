#include "core/bills/bill_due.h"

#include <gtest/gtest.h>

#include "tests/support/scoped_locale.h"

namespace paylark::testing {
namespace {

OleDateTime Day(int year, int month, int day) {
  return *OleDateTime::FromCivil(year, month, day);
}

class BillDueTest : public ::testing::Test {
 protected:
  BillDue Due(const Bill& bill, const std::string& currency = "EUR") const {
    const FixedClock clock(*OleDateTime::FromCivil(2026, 12, 7, 13, 5));
    return DueFromBill(bill, DueRecord::WithDefaults(clock),
                       {.today = clock.Now(), .daysToPay = 14, .defaultCurrency = currency});
  }

  static Bill Code() {
    Bill bill;
    bill.source = BillSource::kEpcCode;
    bill.seller = "Stadtwerke Nordhafen";
    bill.amount = 18437;
    bill.currency = "EUR";
    bill.payeeAccount = "DE89 3704 0044 0532 0130 00";
    bill.reference = "RF18539007547034";
    bill.message = "Kundennr. 4471\nAbschlag";
    return bill;
  }

  ScopedLocale locale_{"en_US.UTF-8"};
};

TEST_F(BillDueTest, ACodeFallsDueAfterTheDaysToPayAndSaysSo) {
  const BillDue due = Due(Code());
  EXPECT_EQ(due.summary,
            "Pay-to, amount, IBAN and reference from the payment code; due date not "
            "on the bill: set to 21 Dec 2026");
  EXPECT_EQ(due.record.dueDate, Day(2026, 12, 21));
  EXPECT_EQ(due.record.startDate, Day(2026, 12, 7));
  EXPECT_EQ(due.record.title, "Stadtwerke Nordhafen");
  EXPECT_EQ(due.record.payTo, "Stadtwerke Nordhafen");
  EXPECT_EQ(due.record.amount, 184.37);
  EXPECT_EQ(due.record.payeeAccount, "DE89 3704 0044 0532 0130 00");
  EXPECT_EQ(due.record.creditorReference, "RF18539007547034");
  EXPECT_EQ(due.record.notes, "Kundennr. 4471\r\nAbschlag");
  EXPECT_TRUE(due.warnings.empty());
}

TEST_F(BillDueTest, AnInvoiceGivesTitleDatesAndNotes) {
  Bill bill = Code();
  bill.source = BillSource::kFacturX;
  bill.invoiceNumber = "R-2026-1187";
  bill.invoiceDate = Day(2026, 11, 21);
  bill.dueDate = Day(2026, 12, 21);
  bill.message = "Zahlbar innerhalb von 30 Tagen.";
  const BillDue due = Due(bill);
  EXPECT_EQ(due.summary, "Pay-to, due date, amount, IBAN and reference from the e-invoice");
  EXPECT_EQ(due.record.title, "Stadtwerke Nordhafen R-2026-1187");
  EXPECT_EQ(due.record.startDate, Day(2026, 11, 21));
  EXPECT_EQ(due.record.notes,
            "Invoice R-2026-1187 of 21 Nov 2026\r\nZahlbar innerhalb von 30 Tagen.");
}

TEST_F(BillDueTest, AnotherCurrencyKeepsTheAmountAndWarns) {
  Bill bill = Code();
  bill.currency = "CHF";
  const BillDue due = Due(bill);
  EXPECT_EQ(due.record.amount, 184.37);
  EXPECT_EQ(due.warnings, std::vector<std::string>{
                              "The bill is in CHF, not EUR: its amount was kept as written."});
  EXPECT_TRUE(Due(bill, "").warnings.empty());
}

TEST_F(BillDueTest, NothingFoundLeavesTheDueAsItWas) {
  Bill bill;
  bill.warnings.push_back("No invoice data or payment code was found in scan.png.");
  const BillDue due = Due(bill);
  EXPECT_EQ(due.summary, "");
  EXPECT_EQ(due.record.title, "");
  EXPECT_EQ(due.warnings, bill.warnings);
}

}  // namespace
}  // namespace paylark::testing

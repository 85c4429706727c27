#include "core/bills/invoice_xml.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "tests/support/bill_samples.h"
#include "tests/support/scoped_time_zone.h"
#include "tests/support/scratch_folder.h"

namespace paylark::testing {
namespace {

OleDateTime Day(int year, int month, int day) {
  return *OleDateTime::FromCivil(year, month, day);
}

Bill Read(const std::string& xml) {
  Result<Bill> bill = ReadInvoiceXml(xml);
  EXPECT_TRUE(bill.ok()) << bill.status().message();
  return bill.ok() ? bill.value() : Bill{};
}

std::string Refused(const std::string& xml) {
  const Result<Bill> bill = ReadInvoiceXml(xml);
  EXPECT_FALSE(bill.ok());
  return bill.status().message();
}

void ExpectFullInvoice(const Bill& bill) {
  EXPECT_EQ(bill.source, BillSource::kXRechnung);
  EXPECT_EQ(bill.seller, "Stadtwerke Nordhafen GmbH");
  EXPECT_EQ(bill.invoiceNumber, "R-2026-1187");
  EXPECT_EQ(bill.invoiceDate, Day(2026, 11, 21));
  EXPECT_EQ(bill.dueDate, Day(2026, 12, 21));
  EXPECT_EQ(bill.amount, 18437);
  EXPECT_EQ(bill.currency, "EUR");
  EXPECT_EQ(bill.payeeAccount, "DE89 3704 0044 0532 0130 00");
  EXPECT_EQ(bill.reference, kSampleCreditorReference);
  EXPECT_EQ(bill.message, "Zahlbar innerhalb von 30 Tagen ohne Abzug.");
  EXPECT_TRUE(bill.warnings.empty());
}

// The samples must be well-formed to an independent reader, or the tests prove nothing.
TEST(InvoiceSampleTest, SamplesAreWellFormedToXmllint) {
  const ScratchFolder folder;
  const std::string cii = folder.PathOf("cii.xml");
  const std::string ubl = folder.PathOf("ubl.xml");
  std::ofstream(cii) << CiiInvoice({});
  std::ofstream(ubl) << UblInvoice({});
  EXPECT_EQ(std::system(("xmllint --noout --nonet '" + cii + "' '" + ubl + "'").c_str()), 0);
}

// CII at the EN 16931 and XRechnung profiles, and UBL 2.1.
TEST(InvoiceXmlTest, ReadsEveryFieldOfEachSyntax) {
  ExpectFullInvoice(Read(CiiInvoice({})));
  ExpectFullInvoice(Read(
      CiiInvoice(Changed<InvoiceSample>([](auto& s) { s.profile = CiiProfile::kXRechnung; }))));
  ExpectFullInvoice(Read(UblInvoice({})));
}

TEST(CiiInvoiceTest, TheMinimumProfileGivesSellerNumberAndAmount) {
  const Bill bill =
      Read(CiiInvoice(Changed<InvoiceSample>([](auto& s) { s.profile = CiiProfile::kMinimum; })));
  EXPECT_EQ(bill.seller, "Stadtwerke Nordhafen GmbH");
  EXPECT_EQ(bill.invoiceNumber, "R-2026-1187");
  EXPECT_EQ(bill.amount, 18437);
  EXPECT_FALSE(bill.dueDate);
  EXPECT_EQ(bill.payeeAccount, "");
  EXPECT_TRUE(bill.warnings.empty());
}

TEST(InvoiceXmlTest, PaymentTermsWithoutADueDateLeaveTheDateOpen) {
  const InvoiceSample terms = Changed<InvoiceSample>([](auto& s) {
    s.due = std::nullopt;
    s.currency = "CHF";
  });
  for (const Bill& bill : {Read(CiiInvoice(terms)), Read(UblInvoice(terms))}) {
    EXPECT_FALSE(bill.dueDate);
    EXPECT_EQ(bill.currency, "CHF");
    EXPECT_EQ(bill.message, "Zahlbar innerhalb von 30 Tagen ohne Abzug.");
  }
}

TEST(CiiInvoiceTest, AnyPrefixReadsTheSame) {
  std::string xml = CiiInvoice({});
  for (const std::string prefix : {"rsm:", "ram:", "udt:", "xmlns:rsm", "xmlns:ram", "xmlns:udt"}) {
    const std::string renamed = prefix.starts_with("xmlns") ? "xmlns:" + prefix.substr(6) + "x"
                                                            : prefix.substr(0, 3) + "x:";
    for (std::size_t at = xml.find(prefix); at != std::string::npos;
         at = xml.find(prefix, at + renamed.size()))
      xml.replace(at, prefix.size(), renamed);
  }
  ExpectFullInvoice(Read(xml));
}

// Dates are the days written, whatever the zone the reader lives in.
TEST(CiiInvoiceTest, DatesAreTheDaysWrittenInAnyTimeZone) {
  for (const char* zone : {"Pacific/Auckland", "America/Los_Angeles", "UTC"}) {
    const ScopedTimeZone timeZone(zone);
    const Bill bill = Read(CiiInvoice(Changed<InvoiceSample>([](auto& s) {
      s.issued = "20261231";
      s.due = "20270101";
    })));
    EXPECT_EQ(bill.invoiceDate, Day(2026, 12, 31)) << zone;
    EXPECT_EQ(bill.dueDate, Day(2027, 1, 1)) << zone;
  }
}

TEST(CiiInvoiceTest, UnsoundFieldsAreLeftOutAndTheRestKept) {
  const Bill bill = Read(CiiInvoice(Changed<InvoiceSample>([](auto& s) {
    s.due = "20261341";
    s.amount = "184,37";
    s.iban = "DE88370400440532013000";
  })));
  EXPECT_FALSE(bill.dueDate);
  EXPECT_FALSE(bill.amount);
  EXPECT_EQ(bill.payeeAccount, "");
  EXPECT_EQ(bill.seller, "Stadtwerke Nordhafen GmbH");
  ASSERT_EQ(bill.warnings.size(), 3U);
  EXPECT_EQ(bill.warnings[0],
            "The IBAN DE88370400440532013000 fails its check digits, so it was left out.");
  EXPECT_EQ(bill.warnings[1],
            "The due date \"20261341\" is not a date Paylark can read, so it "
            "was left out.");
}

TEST(CiiInvoiceTest, AnInvoicesOwnPaymentReferenceIsKeptAsWritten) {
  EXPECT_EQ(Read(CiiInvoice(Changed<InvoiceSample>([](auto& s) {
              s.reference = "Kd 4471 / R-2026-1187";
            }))).reference,
            "Kd 4471 / R-2026-1187");
}

TEST(InvoiceXmlTest, WhatIsNoInvoiceToPayIsRefusedByWhatItIs) {
  std::string creditNote = CiiInvoice({});
  creditNote.replace(creditNote.find(">380<"), 5, ">381<");
  EXPECT_EQ(Refused(creditNote),
            "The e-invoice is a credit note or another document of type 381, not "
            "an invoice to pay.");
  // A document type is refused before parsing.
  std::string declared = CiiInvoice({});
  declared.insert(declared.find("<rsm:"),
                  "<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>\n");
  EXPECT_EQ(Refused(declared),
            "The XML declares a document type (DOCTYPE), which an e-invoice never "
            "does; it is not read.");
  EXPECT_EQ(Refused("<?xml version=\"1.0\"?><html/>"),
            "The XML is not an e-invoice (a CII CrossIndustryInvoice or a UBL 2.1 Invoice).");
  EXPECT_EQ(Refused("<CreditNote xmlns=\"urn:oasis:names:specification:ubl:schema:xsd:"
                    "CreditNote-2\"/>"),
            "The e-invoice is a credit note, not an invoice to pay.");
  const std::string cut = CiiInvoice({}).substr(0, 400);
  EXPECT_EQ(Refused(cut), "The XML is not well-formed: it may have been cut off.");
  EXPECT_NE(Refused("<rsm:CrossIndustryInvoice xmlns:rsm=\"urn:un:unece:uncefact:data:"
                    "standard:CrossIndustryInvoice:100\"/>")
                .find("incomplete"),
            std::string::npos);
}

}  // namespace
}  // namespace paylark::testing

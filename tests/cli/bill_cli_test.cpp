// add --from-bill end to end: each bill made for the test is read by the built paylark-cli under
// a fixed clock, in far time zones and a comma locale.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/cli/cli_runner.h"
#include "tests/support/bill_pdf_samples.h"
#include "tests/support/bill_samples.h"

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

// Every command runs on Monday 2026-12-07 13:00 local time, with settings of its own.
class BillCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasFaketime())
      GTEST_SKIP() << "libfaketime is not installed (package faketime)";
  }

  CliResult Run(std::vector<std::string> arguments, const std::string& zone = "Pacific/Auckland",
                const std::string& locale = "de_DE.UTF-8") const {
    return dir_.Run(std::move(arguments),
                    FaketimeAt("2026-12-07 13:00:00", {"TZ=" + zone, "LC_ALL=" + locale}));
  }

  std::string Path(const std::string& name) const { return (dir_.path() / name).string(); }

  std::string FacturX(const InvoiceSample& sample, const std::string& attachedAs) const {
    WriteTextPdf(Path("plain.pdf"), 1);
    AttachXml(Path("plain.pdf"), CiiInvoice(sample), attachedAs, Path("invoice.pdf"));
    return Path("invoice.pdf");
  }

  std::string Written(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }

  static std::string Json(const std::string& found, const std::string& fields,
                          const std::string& warnings = "", const std::string& id = "null") {
    return "{\"found\": \"" + found + "\", \"fields\": {" + fields + "}, \"warnings\": [" +
           warnings + "], \"recordId\": " + id + "}\n";
  }

  TemporaryWorkingDirectory dir_;
};

// Under a comma locale the bill's amount is still read as written: 184.37, never 18437.
TEST_F(BillCliTest, AFacturXDryRunPrintsTheFieldsExactlyAndWritesNothing) {
  const CliResult result =
      Run({"add", "--from-bill", FacturX({}, "factur-x.xml"), "--dry-run", "--json"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            Json("factur-x",
                 "\"title\": \"Stadtwerke Nordhafen GmbH R-2026-1187\", "
                 "\"startDate\": \"2026-11-21T00:00:00\", \"dueDate\": \"2026-12-21T00:00:00\", "
                 "\"payTo\": \"Stadtwerke Nordhafen GmbH\", \"account\": \"\", \"amount\": 184.37, "
                 "\"notes\": \"Invoice R-2026-1187 of 21 Nov 2026\\r\\nZahlbar innerhalb von 30 "
                 "Tagen ohne Abzug.\", \"type\": 1, \"paid\": 0, "
                 "\"payeeAccount\": \"DE89 3704 0044 0532 0130 00\", "
                 "\"creditorReference\": \"RF18539007547034\""));
  EXPECT_EQ(dir_.Files(".due"), 0U);
}

TEST_F(BillCliTest, AZugferdMinimumInvoiceIsAddedWithTheBillAttached) {
  InvoiceSample minimum;
  minimum.profile = CiiProfile::kMinimum;
  const CliResult added = Run({"add", "--from-bill", FacturX(minimum, "zugferd-invoice.xml")});
  ASSERT_EQ(added.exitCode, 0) << added.err;
  const std::string id = Lines(added.out).at(0);
  EXPECT_EQ(added.err,
            "paylark-cli: Pay-to and amount from the e-invoice; due date not on the "
            "bill: set to 21 Dez 2026\n");
  EXPECT_EQ(FileBytes(dir_.records() / "Attachments" / id / "invoice.pdf").substr(0, 5), "%PDF-");
  const CliResult shown = Run({"show", id});
  EXPECT_NE(shown.out.find("Title: Stadtwerke Nordhafen GmbH R-2026-1187\n"), std::string::npos);
}

TEST_F(BillCliTest, XRechnungWithOnlyPaymentTermsFallsDueAfterTheDaysToPaySetting) {
  fs::create_directories(dir_.path() / ".config/Velmora");
  std::ofstream(dir_.path() / ".config/Velmora/Paylark.conf") << "[Bills]\nDaysToPay=30\n";
  InvoiceSample terms;
  terms.due = std::nullopt;
  const CliResult result =
      Run({"add", "--from-bill", Written("invoice.xml", UblInvoice(terms)), "--dry-run"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("Due Date: 2027-01-06T00:00:00\n"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("due date not on the bill: set to 6 Jan 2027"), std::string::npos);
}

// Under a US zone as under Auckland's, the due falls due 14 local days after the local today.
TEST_F(BillCliTest, AGiroCodeInAnotherCurrencyIsAddedWithAWarningInAUsZone) {
  WriteQrPng(EpcCode({}), Path("code.png"));
  const CliResult result =
      Run({"add", "--from-bill", Path("code.png"), "--json"}, "America/New_York", "en_US.UTF-8");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("\"found\": \"epc-qr\""), std::string::npos);
  EXPECT_NE(result.out.find("\"dueDate\": \"2026-12-21T00:00:00\""), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("\"warnings\": [\"The bill is in EUR, not USD: its amount was kept "
                            "as written.\"]"),
            std::string::npos);
  EXPECT_EQ(result.out.find("\"recordId\": null"), std::string::npos);
  EXPECT_EQ(dir_.Files(".due"), 1U);
}

TEST_F(BillCliTest, GivenFieldsWinOverTheBills) {
  WriteQrPng(SwissCode(Changed<CodeSample>([](auto& s) {
               s.iban = kSampleSwissIban;
               s.reference = kSampleQrReference;
             })),
             Path("code.png"));
  const CliResult result = Run({"add", "--from-bill", Path("code.png"), "--title", "Miete",
                                "--amount", "1234.5", "--dry-run", "--json"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("\"found\": \"swiss-qr\", \"fields\": {\"title\": \"Miete\""),
            std::string::npos);
  EXPECT_NE(result.out.find("\"amount\": 1234.5,"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\"creditorReference\": \"210000000003139471430009017\""),
            std::string::npos);
  EXPECT_NE(result.out.find("The bill is in CHF, not EUR"), std::string::npos);
}

TEST_F(BillCliTest, NothingFoundStillAddsTheDueWithTheBillAttached) {
  WriteTextPdf(Path("letter.pdf"), 1);
  const CliResult result =
      Run({"add", "--from-bill", Path("letter.pdf"), "--title", "Brief", "--json"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("{\"found\": \"none\""), std::string::npos);
  EXPECT_NE(result.out.find("\"warnings\": [\"No invoice data or payment code was found in "
                            "letter.pdf.\"]"),
            std::string::npos);
  EXPECT_EQ(dir_.Files(".due"), 1U);
}

TEST_F(BillCliTest, RefusedFilesSayWhyAndWriteNothing) {
  std::string doctype = CiiInvoice({});
  doctype.insert(doctype.find("<rsm:"), "<!DOCTYPE rsm:CrossIndustryInvoice>\n");
  const CliResult declared = Run({"add", "--from-bill", Written("dtd.xml", doctype)});
  EXPECT_EQ(declared.exitCode, 2);
  EXPECT_EQ(declared.err,
            "paylark-cli: dtd.xml: The XML declares a document type (DOCTYPE), "
            "which an e-invoice never does; it is not read.\n");
  EXPECT_EQ(Run({"add", "--from-bill", Path("missing.pdf")}).exitCode, 2);
  EXPECT_EQ(Run({"add", "--from-bill", Written("broken.pdf", "%PDF-1.7\n%%EOF"), "--amount", "x"})
                .exitCode,
            2);
  EXPECT_EQ(dir_.Files(".due"), 0U);
}

}  // namespace
}  // namespace paylark::testing

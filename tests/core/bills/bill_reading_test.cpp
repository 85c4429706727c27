#include "core/bills/bill_reading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/bill_pdf_samples.h"
#include "tests/support/bill_samples.h"
#include "tests/support/scratch_folder.h"

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

class BillReadingTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.PathOf(name); }

  std::string FacturX(const std::string& xml, const std::string& attachedAs) const {
    WriteTextPdf(Path("plain.pdf"), 1);
    AttachXml(Path("plain.pdf"), xml, attachedAs, Path("invoice.pdf"));
    return Path("invoice.pdf");
  }

  std::string QrPng(const std::string& code) const {
    WriteQrPng(code, Path("code.png"));
    return Path("code.png");
  }

  // The PDF's first page drawn by pdftoppm, an independent renderer, as `stem`.png or .jpg.
  void Render(const std::string& pdf, const std::string& format, int dpi,
              const std::string& stem) const {
    ASSERT_EQ(std::system(("pdftoppm -" + format + " -r " + std::to_string(dpi) + " -singlefile '" +
                           Path(pdf) + "' '" + Path(stem) + "'")
                              .c_str()),
              0);
  }

  static Bill Read(const std::string& path) {
    Result<Bill> bill = ReadBillFile(SystemFileSystem(), path);
    EXPECT_TRUE(bill.ok()) << bill.status().message();
    return bill.ok() ? bill.value() : Bill{};
  }

  static std::string Refused(const std::string& path) {
    const Result<Bill> bill = ReadBillFile(SystemFileSystem(), path);
    EXPECT_FALSE(bill.ok());
    return bill.status().message();
  }

  ScratchFolder folder_;
};

// Factur-X attaches its invoice as factur-x.xml, ZUGFeRD (here at the minimum profile) as
// zugferd-invoice.xml.
TEST_F(BillReadingTest, ReadsTheInvoiceAFacturXOrZugferdPdfCarries) {
  const Bill bill = Read(FacturX(CiiInvoice({}), "factur-x.xml"));
  EXPECT_EQ(bill.source, BillSource::kFacturX);
  EXPECT_EQ(bill.dueDate, OleDateTime::FromCivil(2026, 12, 21));
  EXPECT_EQ(bill.amount, 18437);
  const Bill minimum = Read(
      FacturX(CiiInvoice(Changed<InvoiceSample>([](auto& s) { s.profile = CiiProfile::kMinimum; })),
              "zugferd-invoice.xml"));
  EXPECT_EQ(minimum.source, BillSource::kFacturX);
  EXPECT_EQ(minimum.amount, 18437);
  EXPECT_FALSE(minimum.dueDate);
}

TEST_F(BillReadingTest, ReadsXRechnungAloneInBothSyntaxes) {
  std::ofstream(Path("cii.xml")) << CiiInvoice(
      Changed<InvoiceSample>([](auto& s) { s.profile = CiiProfile::kXRechnung; }));
  std::ofstream(Path("ubl.xml")) << UblInvoice({});
  EXPECT_EQ(Read(Path("cii.xml")).source, BillSource::kXRechnung);
  EXPECT_EQ(Read(Path("ubl.xml")).amount, 18437);
}

TEST_F(BillReadingTest, ReadsAGiroCodeFromAnImage) {
  const Bill bill = Read(QrPng(EpcCode(Changed<CodeSample>([](auto& s) { s.amount = ""; }))));
  EXPECT_EQ(bill.source, BillSource::kEpcCode);
  EXPECT_EQ(bill.reference, kSampleCreditorReference);
  EXPECT_FALSE(bill.amount);
}

TEST_F(BillReadingTest, ReadsASwissQrBillUnderItsCrossAndAsAPhoto) {
  const std::string png = QrPng(SwissCode(Changed<CodeSample>([](auto& s) {
    s.iban = kSampleSwissIban;
    s.amount = "1949.75";
    s.reference = kSampleQrReference;
  })));
  DrawSwissCross(png);
  EXPECT_EQ(Read(png).reference, kSampleQrReference);
  MakePhotoLike(png, 1.7, 12.0);
  const Bill photo = Read(png);
  EXPECT_EQ(photo.source, BillSource::kSwissCode);
  EXPECT_EQ(photo.amount, 194975);
}

TEST_F(BillReadingTest, ReadsTheCodeOnTheSecondPageOfAPdfButNotOnTheThird) {
  WritePdfWithCode(Path("bill.pdf"), EpcCode({}), 2, 2);
  const Bill second = Read(Path("bill.pdf"));
  EXPECT_EQ(second.source, BillSource::kEpcCode);
  EXPECT_EQ(second.amount, 18437);
  WritePdfWithCode(Path("bill.pdf"), EpcCode({}), 3, 3);
  const Bill third = Read(Path("bill.pdf"));
  EXPECT_EQ(third.source, BillSource::kNone);
  EXPECT_EQ(third.warnings.back(), "No invoice data or payment code was found in bill.pdf.");
}

TEST_F(BillReadingTest, ReadsTheCodeOfAScannedJpegAndRefusesACutOne) {
  WritePdfWithCode(Path("bill.pdf"), EpcCode({}), 1, 1);
  Render("bill.pdf", "jpeg", 150, "scan");
  const Bill bill = Read(Path("scan.jpg"));
  EXPECT_EQ(bill.source, BillSource::kEpcCode);
  EXPECT_EQ(bill.payeeAccount, "DE89 3704 0044 0532 0130 00");
  fs::resize_file(Path("scan.jpg"), 200);
  EXPECT_NE(Refused(Path("scan.jpg")).find("The JPEG image cannot be read"), std::string::npos);
}

TEST_F(BillReadingTest, AnEmbeddedXmlThatIsNoInvoiceFallsBackToThePages) {
  WritePdfWithCode(Path("coded.pdf"), EpcCode({}), 1, 1);
  AttachXml(Path("coded.pdf"), "<html/>", "factur-x.xml", Path("bill.pdf"));
  const Bill bill = Read(Path("bill.pdf"));
  EXPECT_EQ(bill.source, BillSource::kEpcCode);
  EXPECT_EQ(bill.warnings, std::vector<std::string>{
                               "The PDF carries factur-x.xml, but it was not read: The XML is not "
                               "an e-invoice (a CII CrossIndustryInvoice or a UBL 2.1 Invoice)."});
}

TEST_F(BillReadingTest, AnImageWithoutACodeIsReadAsNothingFound) {
  WriteTextPdf(Path("plain.pdf"), 1);
  Render("plain.pdf", "png", 50, "page");
  const Bill bill = Read(Path("page.png"));
  EXPECT_EQ(bill.source, BillSource::kNone);
  EXPECT_EQ(bill.warnings,
            std::vector<std::string>{"No invoice data or payment code was found in page.png."});
}

TEST_F(BillReadingTest, AQrCodeThatIsNoPaymentCodeSaysWhat) {
  const Bill bill = Read(QrPng("https://example.org/pay"));
  EXPECT_EQ(bill.source, BillSource::kNone);
  ASSERT_EQ(bill.warnings.size(), 2U);
  EXPECT_EQ(bill.warnings[0],
            "The code is not a payment code (an EPC SEPA transfer or a Swiss QR-bill).");
}

TEST_F(BillReadingTest, BrokenAndLockedPdfsAreRefused) {
  WriteTextPdf(Path("plain.pdf"), 1);
  fs::resize_file(Path("plain.pdf"), 40);
  EXPECT_EQ(Refused(Path("plain.pdf")),
            "plain.pdf: The PDF cannot be opened: it is damaged, cut off or locked by a password.");
  WriteTextPdf(Path("open.pdf"), 1);
  ASSERT_EQ(std::system(("qpdf --encrypt secret owner 256 -- '" + Path("open.pdf") + "' '" +
                         Path("locked.pdf") + "'")
                            .c_str()),
            0);
  EXPECT_NE(Refused(Path("locked.pdf")).find("locked by a password"), std::string::npos);
}

TEST_F(BillReadingTest, OtherFilesAndOnesOver32MiBAreRefusedByName) {
  std::ofstream(Path("notes.txt")) << "Strom November: 184,37";
  EXPECT_EQ(Refused(Path("notes.txt")),
            "notes.txt: it is not a PDF, an e-invoice XML or a PNG "
            "or JPEG image, so no bill was read from it.");
  std::ofstream(Path("broken.png")) << "\x89PNG\r\n\x1a\nnothing";
  EXPECT_NE(Refused(Path("broken.png")).find("The PNG image cannot be read"), std::string::npos);
  EXPECT_NE(Refused(Path("missing.pdf")).find("cannot be found"), std::string::npos);
  // A file over 32 MiB is refused unread.
  std::ofstream(Path("huge.pdf")) << "%PDF-1.4";
  fs::resize_file(Path("huge.pdf"), kLargestBillBytes + 1);
  EXPECT_EQ(Refused(Path("huge.pdf")),
            "huge.pdf: the file is 32 MiB; bills over 32 MiB are not read.");
}

}  // namespace
}  // namespace paylark::testing

#include "core/bills/bill_reading.h"

#include "core/base/text_encoding.h"
#include "core/bills/bill_pdf.h"
#include "core/bills/code_scanning.h"
#include "core/bills/gray_image.h"
#include "core/bills/invoice_xml.h"
#include "core/bills/payment_code.h"

namespace paylark {
namespace {

Status Named(const Status& status, std::string_view name) {
  const std::string prefix = std::string(name) + ": ";
  switch (status.code()) {
    case StatusCode::kCorrupt:
      return Status::Corrupt(prefix + status.message());
    case StatusCode::kIoError:
      return Status::IoError(prefix + status.message());
    default:
      return Status::InvalidArgument(prefix + status.message());
  }
}

Bill NothingFound(std::string_view name, std::vector<std::string> warnings = {}) {
  Bill bill;
  bill.warnings = std::move(warnings);
  bill.warnings.push_back("No invoice data or payment code was found in " + std::string(name) +
                          ".");
  return bill;
}

// The first code that is a payment code; the reasons the others were not, as warnings.
Result<Bill> BillOfCodes(const std::vector<std::string>& codes, std::string_view name,
                         std::vector<std::string> warnings) {
  for (const std::string& code : codes) {
    Result<Bill> bill = ReadPaymentCode(code);
    if (bill.ok()) {
      warnings.insert(warnings.end(), bill.value().warnings.begin(), bill.value().warnings.end());
      bill.value().warnings = std::move(warnings);
      return bill;
    }
    warnings.push_back(bill.status().message());
  }
  return NothingFound(name, std::move(warnings));
}

Result<Bill> ReadPdf(std::string_view bytes, std::string_view name) {
  PAYLARK_TRY_ASSIGN(const BillPdf pdf, BillPdf::Open(bytes));
  std::vector<std::string> warnings;
  if (const std::optional<EmbeddedInvoice> invoice = pdf.Invoice()) {
    Result<Bill> bill = ReadInvoiceXml(invoice->bytes);
    if (bill.ok()) {
      bill.value().source = BillSource::kFacturX;
      return bill;
    }
    warnings.push_back("The PDF carries " + invoice->name +
                       ", but it was not read: " + bill.status().message());
  }
  std::vector<std::string> codes;
  for (int page = 0; page < std::min(kScannedPages, pdf.PageCount()); ++page) {
    PAYLARK_TRY_ASSIGN(const GrayImage image, pdf.RenderPage(page, kScanDotsPerInch));
    const std::vector<std::string> found = FindQrCodes(image);
    codes.insert(codes.end(), found.begin(), found.end());
    if (!codes.empty())
      break;
  }
  return BillOfCodes(codes, name, std::move(warnings));
}

Result<Bill> ReadImage(std::string_view bytes, std::string_view name) {
  PAYLARK_TRY_ASSIGN(const GrayImage image, DecodeImage(bytes));
  return BillOfCodes(FindQrCodes(image), name, {});
}

bool LooksLikeXml(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF"))
    bytes.remove_prefix(3);
  return TrimWhiteSpace(bytes.substr(0, 256)).starts_with('<');
}

}  // namespace

Result<Bill> ReadBill(std::string_view bytes, std::string_view name) {
  Result<Bill> bill = Status::InvalidArgument(
      "it is not a PDF, an e-invoice XML or a PNG or JPEG image, so no bill was read from it.");
  if (bytes.starts_with("%PDF-"))
    bill = ReadPdf(bytes, name);
  else if (IsPng(bytes) || IsJpeg(bytes))
    bill = ReadImage(bytes, name);
  else if (LooksLikeXml(bytes))
    bill = ReadInvoiceXml(bytes);
  if (!bill.ok())
    return Named(bill.status(), name);
  return bill;
}

Result<Bill> ReadBillFile(FileSystem& files, const std::string& path) {
  const std::string name = path.substr(path.find_last_of('/') + 1);
  const Result<FileInfo> info = files.Inspect(path);
  if (!info.ok() || info.value().kind != FileKind::kRegular)
    return Status::NotFound(path + ": the file cannot be found or is not a regular file.");
  if (info.value().size > kLargestBillBytes)
    return Status::InvalidArgument(name + ": the file is " +
                                   std::to_string(info.value().size >> 20) +
                                   " MiB; bills over 32 MiB are not read.");
  Result<std::string> bytes = files.Read(path, kLargestBillBytes);
  if (!bytes.ok())
    return Named(bytes.status(), name);
  return ReadBill(bytes.value(), name);
}

}  // namespace paylark

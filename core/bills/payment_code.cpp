#include "core/bills/payment_code.h"

#include <string>

#include "core/base/text_encoding.h"
#include "core/bills/bill_fields.h"
#include "core/bills/payment_code_lines.h"

namespace paylark {
namespace {

// EPC069-12 allows 331 bytes; the Swiss QR-bill 997 characters. Anything much longer is neither.
constexpr std::size_t kLongestCode = 4096;

std::string Joined(std::string_view first, std::string_view second) {
  const std::string a(TrimWhiteSpace(first));
  const std::string b(TrimWhiteSpace(second));
  return a.empty() || b.empty() ? a + b : a + "\n" + b;
}

// Character set 1 is UTF-8; the others are ISO 8859 sets, read as their Western European member
// (Windows-1252 holds ISO 8859-1's printable characters).
std::string CodeText(std::string_view text, std::string_view characterSet) {
  if (characterSet == "1" && IsValidUtf8(text))
    return std::string(text);
  return Windows1252ToUtf8(text);
}

Result<Bill> ReadEpcCode(const PaymentCodeLines& lines) {
  const std::string_view version = lines[1];
  if (version != "001" && version != "002")
    return Status::InvalidArgument("The payment code is an EPC code of version " +
                                   std::string(version) +
                                   ", which Paylark does not read (it reads 001 and 002).");
  if (lines[3] != "SCT")
    return Status::InvalidArgument(
        "The EPC payment code is not a SEPA credit transfer (its identification is not SCT).");
  const std::string characterSet(lines[2]);
  Bill bill;
  bill.source = BillSource::kEpcCode;
  bill.seller = TrimWhiteSpace(CodeText(lines[5], characterSet));
  TakeIban(bill, lines[6]);
  const std::string_view amount = TrimWhiteSpace(lines[7]);
  if (amount.size() > 3) {
    bill.currency = amount.substr(0, 3);
    TakeAmount(bill, amount.substr(3));
  } else if (!amount.empty()) {
    TakeAmount(bill, amount);
  }
  TakeReference(bill, lines[9]);
  bill.message = Joined(CodeText(lines[10], characterSet), CodeText(lines[11], characterSet));
  return bill;
}

void TakeSwissReference(Bill& bill, std::string_view type, std::string_view reference) {
  const std::string_view trimmed = TrimWhiteSpace(reference);
  if (type == "NON" || trimmed.empty())
    return;
  if (type == "QRR" && trimmed.starts_with("RF")) {
    bill.warnings.push_back("The QR reference " + std::string(trimmed) +
                            " is not 27 digits, so it was left out.");
    return;
  }
  TakeReference(bill, trimmed);
}

Result<Bill> ReadSwissCode(const PaymentCodeLines& lines) {
  if (lines[1] != "0200")
    return Status::InvalidArgument("The payment code is a Swiss QR-bill of version " +
                                   std::string(lines[1]) +
                                   ", which Paylark does not read (it reads 0200).");
  Bill bill;
  bill.source = BillSource::kSwissCode;
  bill.seller = TrimWhiteSpace(lines[5]);
  TakeIban(bill, lines[3]);
  TakeAmount(bill, lines[18]);
  bill.currency = TrimWhiteSpace(lines[19]);
  TakeSwissReference(bill, TrimWhiteSpace(lines[27]), lines[28]);
  bill.message = TrimWhiteSpace(lines[29]);
  if (lines[30] != "EPD")
    bill.warnings.push_back(
        "The Swiss QR-bill code ends early (no \"EPD\" line); the fields before it were read.");
  return bill;
}

}  // namespace

Result<Bill> ReadPaymentCode(std::string_view text) {
  if (text.size() > kLongestCode)
    return Status::InvalidArgument("The code is too long to be a payment code.");
  if (text.starts_with("\xEF\xBB\xBF"))
    text.remove_prefix(3);
  const PaymentCodeLines lines(text);
  if (lines[0] == "BCD")
    return ReadEpcCode(lines);
  if (lines[0] == "SPC")
    return ReadSwissCode(lines);
  return Status::InvalidArgument(
      "The code is not a payment code (an EPC SEPA transfer or a Swiss QR-bill).");
}

}  // namespace paylark

// libFuzzer target: any bytes as an e-invoice XML (CII or UBL) and as the text of a payment QR
// code (EPC or Swiss). Reading never crashes, loops or expands an entity; a bill read has an
// amount within what the formats allow, valid dates, and an IBAN only where its check digits
// hold.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/bills/invoice_xml.h"
#include "core/bills/payment_checks.h"
#include "core/bills/payment_code.h"

namespace {

void Check(const paylark::Result<paylark::Bill>& read) {
  if (!read.ok())
    return;
  const paylark::Bill& bill = read.value();
  if (bill.amount && (*bill.amount < 0 || *bill.amount > 99'999'999'999))
    __builtin_trap();
  if ((bill.dueDate && !bill.dueDate->IsValid()) ||
      (bill.invoiceDate && !bill.invoiceDate->IsValid()))
    __builtin_trap();
  if (!bill.payeeAccount.empty() && !paylark::IsValidIban(paylark::CompactCode(bill.payeeAccount)))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Check(paylark::ReadInvoiceXml(bytes));
  Check(paylark::ReadPaymentCode(bytes));
  return 0;
}

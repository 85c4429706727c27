#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/cents.h"
#include "core/base/ole_date_time.h"

namespace paylark {

// Where a bill's data was found: the e-invoice inside a PDF, an e-invoice XML file alone, or a
// payment code printed on the bill. kNone: the file was read and carries neither.
enum class BillSource { kNone, kFacturX, kXRechnung, kEpcCode, kSwissCode };

// What a bill says about paying it. Every field is the bill's own: dates are the days written
// there, the amount is exact cents, the IBAN and reference passed their checks (a field that
// failed is left empty and a warning says so).
struct Bill {
  BillSource source = BillSource::kNone;
  std::string seller;         // who is paid: the pay-to
  std::string invoiceNumber;  // empty for a payment code
  std::optional<OleDateTime> invoiceDate;
  std::optional<OleDateTime> dueDate;  // payment codes never carry one
  std::optional<Cents> amount;
  std::string currency;               // ISO 4217, as written
  std::string payeeAccount;           // the IBAN, in groups of four
  std::string reference;              // RF creditor reference, QR reference or the invoice's own
  std::string message;                // payment terms or the code's text for the payer
  std::vector<std::string> warnings;  // sentences for the user, in the order found
};

// "factur-x", "xrechnung", "epc-qr", "swiss-qr" or "none": the names the command line prints.
std::string_view BillSourceName(BillSource source);
// "the e-invoice", "the payment code" or "the bill": where the fields were read, for a sentence.
std::string_view BillSourcePlace(BillSource source);

}  // namespace paylark

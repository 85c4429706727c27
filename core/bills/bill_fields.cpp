#include "core/bills/bill_fields.h"

#include <string>

#include "core/base/text_encoding.h"
#include "core/base/written_date.h"
#include "core/bills/bill_amount.h"
#include "core/bills/payment_checks.h"

namespace paylark {
namespace {

bool LooksLikeQrReference(std::string_view compact) {
  return compact.size() == 27 && compact.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

void TakeIban(Bill& bill, std::string_view text) {
  const std::string compact = CompactCode(TrimWhiteSpace(text));
  if (compact.empty())
    return;
  if (!IsValidIban(compact)) {
    bill.warnings.push_back("The IBAN " + std::string(TrimWhiteSpace(text)) +
                            " fails its check digits, so it was left out.");
    return;
  }
  bill.payeeAccount = GroupsOfFour(compact);
}

void TakeAmount(Bill& bill, std::string_view text) {
  const std::string_view trimmed = TrimWhiteSpace(text);
  if (trimmed.empty())
    return;
  const std::optional<Cents> cents = ParseBillAmount(trimmed);
  if (!cents) {
    bill.warnings.push_back("The amount \"" + std::string(trimmed) +
                            "\" is not one Paylark can read, so it was left out.");
    return;
  }
  bill.amount = cents;
}

void TakeReference(Bill& bill, std::string_view text) {
  const std::string_view trimmed = TrimWhiteSpace(text);
  const std::string compact = CompactCode(trimmed);
  if (compact.empty())
    return;
  const bool creditorReference = compact.starts_with("RF");
  const bool qrReference = LooksLikeQrReference(compact);
  if (creditorReference && !IsValidCreditorReference(compact)) {
    bill.warnings.push_back("The creditor reference " + std::string(trimmed) +
                            " fails its check digits, so it was left out.");
    return;
  }
  if (qrReference && !IsValidQrReference(compact)) {
    bill.warnings.push_back("The QR reference " + std::string(trimmed) +
                            " fails its check digit, so it was left out.");
    return;
  }
  bill.reference = creditorReference || qrReference ? compact : std::string(trimmed);
}

std::optional<OleDateTime> BillDate(std::string_view text) {
  return WrittenDate(TrimWhiteSpace(text));
}

}  // namespace paylark

#include "core/bills/bill_fields.h"

#include <charconv>
#include <string>

#include "core/base/text_encoding.h"
#include "core/bills/bill_amount.h"
#include "core/bills/payment_checks.h"

namespace paylark {
namespace {

bool LooksLikeQrReference(std::string_view compact) {
  return compact.size() == 27 && compact.find_first_not_of("0123456789") == std::string::npos;
}

int Number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : -1;
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
  text = TrimWhiteSpace(text);
  if (text.size() == 10 && text[4] == '-' && text[7] == '-')
    return OleDateTime::FromCivil(Number(text.substr(0, 4)), Number(text.substr(5, 2)),
                                  Number(text.substr(8, 2)));
  if (text.size() == 8)
    return OleDateTime::FromCivil(Number(text.substr(0, 4)), Number(text.substr(4, 2)),
                                  Number(text.substr(6, 2)));
  return std::nullopt;
}

}  // namespace paylark

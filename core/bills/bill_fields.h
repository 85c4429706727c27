#pragma once

#include <optional>
#include <string_view>

#include "core/bills/bill.h"

namespace paylark {

// Setting a bill's checked fields from the text a reader found. Empty text sets nothing; text
// that fails its check sets nothing and adds a warning that names the text and the field, so
// the sound fields of a bill are kept whatever one of them says.
void TakeIban(Bill& bill, std::string_view text);
void TakeAmount(Bill& bill, std::string_view text);
// An RF creditor reference or a QR reference must pass its check; any other reference (an
// invoice's own payment reference) is taken as written.
void TakeReference(Bill& bill, std::string_view text);
// Empty when the text is not a date written as "YYYYMMDD" or "YYYY-MM-DD".
std::optional<OleDateTime> BillDate(std::string_view text);

}  // namespace paylark

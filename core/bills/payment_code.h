#pragma once

#include <string_view>

#include "core/base/status.h"
#include "core/bills/bill.h"

namespace paylark {

// The text of a payment QR code: an EPC069-12 SEPA credit transfer ("BCD", versions 001 and
// 002) or a Swiss QR-bill ("SPC", version 0200). Lines end in LF or CR LF. A code of another kind
// or version is InvalidArgument; inside a code of a known kind, a field that fails its check is
// left out with a warning and the others are kept.
Result<Bill> ReadPaymentCode(std::string_view text);

}  // namespace paylark

#pragma once

#include <string_view>

#include "core/base/status.h"
#include "core/statements/statement.h"

namespace paylark {

// A bank-to-customer statement in ISO 20022 CAMT.053, versions 001.02 to 001.08 (each its own
// namespace), read with libxml2 from memory with network access, entity substitution and DTD
// loading off; a file that declares a document type is refused outright, so no entity is ever
// expanded. The account is Acct/Id (IBAN, else Othr/Id), the period FrToDt, the closing balance
// the CLBD balance. Each booked entry is a transaction, except that a batch entry with several
// transaction details gives one transaction per detail; DBIT amounts are negative, and a reversal
// keeps the sign the bank gives it. Pending and information-only entries are not bookings.
Result<Statement> ReadCamtStatement(std::string_view bytes);

}  // namespace paylark

#pragma once

#include <string_view>

#include "core/base/status.h"
#include "core/statements/statement.h"

namespace paylark {

// A bank or credit card statement in OFX 1.x (SGML), OFX 2.x (XML) or QFX, read by LibOFX: the
// bank's account (ACCTID), its currency (CURDEF), the period (DTSTART, DTEND), the closing balance
// (LEDGERBAL) and the transactions (FITID, DTPOSTED, TRNAMT, NAME or PAYEE, MEMO, CURSYM). Every
// day is the one the file writes, in the offset it writes, never moved through the local time
// zone. LibOFX prints nothing. A file without its closing </OFX> (cut off), one
// nested deeper than any statement (refused before LibOFX reads it), one that LibOFX finds no
// statement in, or one with the statements of several accounts is a failure that says so.
Result<Statement> ReadOfxStatement(std::string_view bytes);

}  // namespace paylark

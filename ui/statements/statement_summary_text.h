#pragma once

#include <QString>

#include "core/statements/statement.h"
#include "core/statements/statement_import.h"

namespace paylark {

// What an import did, in one sentence: "12 dues marked paid, 2 added, balance of Checking set
// to $1,240.00 on 30 Nov 2026." The balance part is there only when the entry was written.
QString StatementSummaryText(const StatementImportSummary& summary, const Statement& statement);

}  // namespace paylark

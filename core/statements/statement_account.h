#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/forecast/balance_entry.h"
#include "core/records/due_map.h"
#include "core/statements/statement.h"
#include "core/statements/statement_matching.h"

namespace paylark {

// The Paylark account a bank account is linked to: that of the newest balance entry carrying the
// bank's ID. The entries live in the records folder, so every device sharing it knows the link.
// Nothing when no entry carries the ID, or the ID is empty.
std::optional<std::string> LinkedAccount(const std::vector<BalanceEntry>& entries,
                                         std::string_view bankAccount);

// The accounts the dues name, each once as first written (accounts differing only in letter case
// or surrounding blanks are one), in name order; the dues without an account are not one.
std::vector<std::string> AccountsOfDues(const DueMap& dues);

// The accounts to offer for a statement, best first: the linked one; else the one whose unpaid
// dues the statement matches most (ties in name order); then the others in name order.
std::vector<std::string> StatementAccountChoices(const Statement& statement, const DueMap& dues,
                                                 const std::vector<BalanceEntry>& entries,
                                                 const MatchOptions& options);

// Whether the statement's closing balance is already an entry of its account: the same
// statement imported again sets no balance.
bool ClosingBalanceEntered(const Statement& statement, const std::vector<BalanceEntry>& entries);

}  // namespace paylark

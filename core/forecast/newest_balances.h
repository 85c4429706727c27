#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>

#include "core/forecast/balance_entry.h"

namespace paylark {

// The newest valid entry of each account, by account key (AccountKey); only the named
// account's when one is given. Of two entries at the same moment the later-made one counts.
std::map<std::string, const BalanceEntry*> NewestBalances(
    std::span<const BalanceEntry> balances, const std::optional<std::string>& account);

}  // namespace paylark

#pragma once

#include <optional>
#include <string>

#include "cli/command.h"
#include "core/forecast/balance_book.h"

namespace paylark::cli {

// The account named by --account, trimmed; empty for all accounts (forecast) or when not given.
std::optional<std::string> TakeAccount(Arguments& arguments);

// The balance entries that the store's load found in the records folder; files it cannot read
// are reported on the error stream and left alone.
void LoadBalances(CommandContext& context, BalanceBook& book);

// "Checking" or "(no account)" for the empty name.
std::string AccountLabel(const std::string& account);

}  // namespace paylark::cli

#include "core/forecast/newest_balances.h"

#include "core/forecast/account_key.h"

namespace paylark {

std::map<std::string, const BalanceEntry*> NewestBalances(
    std::span<const BalanceEntry> balances, const std::optional<std::string>& account) {
  const std::optional<std::string> wanted =
      account ? std::optional(AccountKey(*account)) : std::nullopt;
  std::map<std::string, const BalanceEntry*> newest;
  for (const BalanceEntry& entry : balances) {
    if (!entry.date.IsValid())
      continue;
    std::string key = AccountKey(entry.account);
    if (wanted && key != *wanted)
      continue;
    const BalanceEntry*& slot = newest[std::move(key)];
    if (slot == nullptr || entry.date > slot->date ||
        (entry.date == slot->date && entry.entryId > slot->entryId))
      slot = &entry;
  }
  return newest;
}

}  // namespace paylark

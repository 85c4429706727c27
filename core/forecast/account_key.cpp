#include "core/forecast/account_key.h"

#include <set>

#include "core/base/text_encoding.h"
#include "core/records/due_search.h"

namespace paylark {

std::string AccountKey(std::string_view account) {
  return FoldLetterCase(TrimWhiteSpace(account));
}

std::map<std::string, std::string> AccountsByKey(const DueMap& dues) {
  std::map<std::string, std::string> byKey;
  std::set<std::string, std::less<>> seen;
  dues.ForEachPacked([&](const PackedDue& due) {
    const std::string_view account = due.Account();
    if (account.empty() || seen.contains(account))
      return;
    seen.emplace(account);
    if (std::string key = AccountKey(account); !key.empty())
      byKey.try_emplace(std::move(key), account);
  });
  return byKey;
}

}  // namespace paylark

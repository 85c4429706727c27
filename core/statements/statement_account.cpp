#include "core/statements/statement_account.h"

#include <algorithm>

#include "core/forecast/account_key.h"

namespace paylark {
namespace {

// How many of the statement's transactions would pay a due of the account.
std::size_t MatchesWith(Statement statement, const std::string& account, const DueMap& dues,
                        const MatchOptions& options) {
  statement.account = account;
  return MatchStatement(statement, dues, options).matches.size();
}

}  // namespace

std::optional<std::string> LinkedAccount(const std::vector<BalanceEntry>& entries,
                                         std::string_view bankAccount) {
  if (bankAccount.empty())
    return std::nullopt;
  const auto newest = std::find_if(entries.rbegin(), entries.rend(), [&](const BalanceEntry& e) {
    return e.bankAccount == bankAccount;
  });
  if (newest == entries.rend())
    return std::nullopt;
  return newest->account;
}

std::vector<std::string> AccountsOfDues(const DueMap& dues) {
  std::vector<std::string> accounts;
  for (auto& [key, account] : AccountsByKey(dues))
    accounts.push_back(std::move(account));
  return accounts;
}

std::vector<std::string> StatementAccountChoices(const Statement& statement, const DueMap& dues,
                                                 const std::vector<BalanceEntry>& entries,
                                                 const MatchOptions& options) {
  std::vector<std::string> accounts = AccountsOfDues(dues);
  std::optional<std::string> first = LinkedAccount(entries, statement.bankAccount);
  if (!first) {
    std::size_t most = 0;
    for (const std::string& account : accounts) {
      if (const std::size_t matches = MatchesWith(statement, account, dues, options);
          matches > most) {
        most = matches;
        first = account;
      }
    }
  }
  if (first) {
    const std::string key = AccountKey(*first);
    std::erase_if(accounts, [&](const std::string& a) { return AccountKey(a) == key; });
    accounts.insert(accounts.begin(), *first);
  }
  return accounts;
}

bool ClosingBalanceEntered(const Statement& statement, const std::vector<BalanceEntry>& entries) {
  if (!statement.closingBalance)
    return false;
  const std::string key = AccountKey(statement.account);
  return std::any_of(entries.begin(), entries.end(), [&](const BalanceEntry& entry) {
    return entry.date == statement.closingBalance->date &&
           ToCents(entry.amount) == statement.closingBalance->amount &&
           AccountKey(entry.account) == key;
  });
}

}  // namespace paylark

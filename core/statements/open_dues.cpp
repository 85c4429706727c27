#include "core/statements/open_dues.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "core/forecast/account_key.h"
#include "core/statements/text_folding.h"

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Which dues a statement of the account is matched against.
enum class AccountScope { kEvery, kNamed, kUnnamed };

bool InScope(const std::string& accountKey, AccountScope scope, const std::string& statementKey) {
  switch (scope) {
    case AccountScope::kEvery:
      return true;
    case AccountScope::kNamed:
      return accountKey == statementKey;
    case AccountScope::kUnnamed:
      return accountKey.empty();
  }
  return false;
}

void Remember(std::vector<std::string>& list, std::string text) {
  if (!text.empty() && std::find(list.begin(), list.end(), text) == list.end())
    list.push_back(std::move(text));
}

// Every payment's bank transaction: a transaction is never taken for a second payment.
void RememberReferences(const DueRecord& record, std::unordered_set<std::string>& references) {
  if (!record.paymentReference.empty())
    references.insert(record.paymentReference);
  for (const PaymentPart& part : record.laterParts) {
    if (!part.reference.empty())
      references.insert(part.reference);
  }
}

}  // namespace

std::string CompactAccountId(std::string_view account) {
  std::string compact;
  for (const char c : account) {
    if (c != ' ' && c != '\t')
      compact += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return compact;
}

std::int64_t DayNumber(const OleDateTime& dateTime) {
  const std::int64_t seconds = dateTime.LinearSeconds();
  return seconds >= 0 ? seconds / kSecondsPerDay
                      : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
}

OpenDues::OpenDues(const DueMap& dues, const std::string& statementAccount) {
  const std::string statementKey = AccountKey(statementAccount);
  bool named = false;
  // Few accounts name many dues: each is folded once. The map's values stay where they are.
  std::unordered_map<std::string, std::string> keys;
  struct Unpaid {
    const std::string* accountKey;
    std::string payTo;
    std::string title;
    std::string seriesId;
  };
  std::vector<Unpaid> unpaid;
  std::unordered_map<std::string, std::uint32_t> seriesPayers;
  dues.ForEach([&](const DueRecord& record) {
    RememberReferences(record, references_);
    if (IsPaid(record) && !record.seriesId.empty() &&
        !(record.paymentCounterparty.empty() && record.paymentCounterpartyAccount.empty())) {
      auto [known, isNew] =
          seriesPayers.try_emplace(record.seriesId, static_cast<std::uint32_t>(payers_.size()));
      if (isNew)
        payers_.emplace_back();
      SeriesPayers& payers = payers_[known->second];
      if (std::find(payers.names.begin(), payers.names.end(), record.paymentCounterparty) ==
          payers.names.end()) {
        Remember(payers.foldedNames, FoldForMatching(record.paymentCounterparty));
        Remember(payers.names, record.paymentCounterparty);
      }
      Remember(payers.accounts, CompactAccountId(record.paymentCounterpartyAccount));
    }
    auto [known, isNew] = keys.try_emplace(record.account);
    if (isNew)
      known->second = AccountKey(record.account);
    named = named || (!statementKey.empty() && known->second == statementKey);
    if (IsPaid(record) || !record.dueDate.IsValid() || !std::isfinite(record.amount))
      return;
    const std::int64_t seconds = record.dueDate.LinearSeconds();
    OpenDue& due = dues_.emplace_back();
    due.recordId = record.recordId;
    due.dueDate = record.dueDate;
    due.seconds = seconds;
    due.day = DayNumber(record.dueDate);
    due.amount = std::llabs(LeftCents(record));
    due.income = IsIncome(record);
    due.payeeAccount = CompactAccountId(record.payeeAccount);
    due.creditorReference = CompactAccountId(record.creditorReference);
    unpaid.push_back({&known->second, record.payTo, record.title, record.seriesId});
  });
  const AccountScope scope = statementKey.empty() ? AccountScope::kEvery
                             : named              ? AccountScope::kNamed
                                                  : AccountScope::kUnnamed;
  accountNamedByNoDue_ = scope == AccountScope::kUnnamed;
  // Payees and titles repeat: each text is folded once.
  std::unordered_map<std::string, std::uint32_t> nameIds;
  const auto nameOf = [&](std::string& text) {
    auto [known, isNew] =
        nameIds.try_emplace(std::move(text), static_cast<std::uint32_t>(names_.size()));
    if (isNew)
      names_.push_back(FoldForMatching(known->first));
    return known->second;
  };
  std::size_t kept = 0;
  for (std::size_t i = 0; i < dues_.size(); ++i) {
    if (!InScope(*unpaid[i].accountKey, scope, statementKey))
      continue;
    if (kept != i)
      dues_[kept] = std::move(dues_[i]);
    dues_[kept].payTo = nameOf(unpaid[i].payTo);
    dues_[kept].title = nameOf(unpaid[i].title);
    if (const auto payers = seriesPayers.find(unpaid[i].seriesId); payers != seriesPayers.end())
      dues_[kept].payers = payers->second + 1;
    ++kept;
  }
  dues_.resize(kept);
  std::stable_sort(dues_.begin(), dues_.end(),
                   [](const OpenDue& a, const OpenDue& b) { return a.seconds < b.seconds; });
  keys_.reserve(dues_.size());
  for (const OpenDue& due : dues_)
    keys_.push_back({due.day, due.amount, due.income});
}

std::pair<std::size_t, std::size_t> OpenDues::DaysFromTo(std::int64_t first,
                                                         std::int64_t last) const {
  const auto begin =
      std::lower_bound(keys_.begin(), keys_.end(), first,
                       [](const OpenDueKey& due, std::int64_t day) { return due.day < day; });
  const auto end =
      std::upper_bound(begin, keys_.end(), last,
                       [](std::int64_t day, const OpenDueKey& due) { return day < due.day; });
  return {static_cast<std::size_t>(begin - keys_.begin()),
          static_cast<std::size_t>(end - keys_.begin())};
}

}  // namespace paylark

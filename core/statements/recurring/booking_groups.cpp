#include "core/statements/recurring/booking_groups.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "core/statements/open_dues.h"
#include "core/statements/recurring/counterparty_key.h"

namespace paylark {
namespace {

// A group: an account (by its position), a direction and an interned counterparty key.
struct GroupKey {
  std::size_t account = 0;
  bool income = false;
  const std::string* counterparty = nullptr;

  bool operator==(const GroupKey&) const = default;
};

struct GroupKeyHash {
  std::size_t operator()(const GroupKey& key) const {
    return std::hash<const std::string*>()(key.counterparty) ^ (key.account * 2 + key.income);
  }
};

// Groups the bookings and notes how far each account's history reaches. Keys are interned, so a
// booking costs a lookup or two and no text built.
class Grouping {
 public:
  // bookings: how many the statements hold, so that no account's IDs are rehashed as they come.
  explicit Grouping(std::size_t bookings) : bookings_(bookings) {}

  void Add(const Statement& statement) {
    const std::size_t account = AccountOf(statement);
    std::int64_t& end = historyEnds_[account];
    if (statement.periodEnd && statement.periodEnd->IsValid())
      end = std::max(end, DayNumber(*statement.periodEnd));
    std::unordered_set<std::string_view>& seen = seen_[account];
    for (const StatementTransaction& transaction : statement.transactions) {
      if (!transaction.bookingDate.IsValid() || transaction.amount == 0 ||
          !transaction.currency.empty() || !seen.insert(transaction.id).second)
        continue;
      end = std::max(end, DayNumber(transaction.bookingDate));
      const std::string& key = KeyOf(transaction);
      if (key.empty())
        continue;
      auto [found, isNew] =
          index_.try_emplace(GroupKey{account, transaction.amount > 0, &key}, groups_.size());
      if (isNew) {
        groups_.push_back({statement.account, key, NameKey(transaction.counterparty), 0, {}});
        groupAccounts_.push_back(account);
      }
      groups_[found->second].bookings.push_back(&transaction);
    }
  }

  // The groups, each with the end of its account's history and its bookings in date order.
  std::vector<BookingGroup> Finish() {
    for (std::size_t i = 0; i < groups_.size(); ++i) {
      BookingGroup& group = groups_[i];
      group.historyEnd = historyEnds_[groupAccounts_[i]];
      std::stable_sort(group.bookings.begin(), group.bookings.end(),
                       [](const StatementTransaction* a, const StatementTransaction* b) {
                         return a->bookingDate.LinearSeconds() < b->bookingDate.LinearSeconds();
                       });
    }
    return std::move(groups_);
  }

 private:
  std::size_t AccountOf(const Statement& statement) {
    auto [found, isNew] = accounts_.try_emplace(
        statement.account + '\n' + CompactAccountId(statement.bankAccount), accounts_.size());
    if (isNew) {
      historyEnds_.push_back(0);
      seen_.emplace_back().reserve(bookings_);
    }
    return found->second;
  }

  // "name <key>" of a counterparty's name, or empty; names repeat on every statement, so each
  // is keyed once.
  const std::string& NameKey(const std::string& name) {
    auto [found, isNew] = nameKeys_.try_emplace(name, nullptr);
    if (isNew) {
      const std::string key = CounterpartyNameKey(name);
      found->second = &Interned(key.empty() ? key : "name " + key);
    }
    return *found->second;
  }

  const std::string& KeyOf(const StatementTransaction& transaction) {
    if (transaction.counterpartyAccount.empty() && !transaction.counterparty.empty())
      return NameKey(transaction.counterparty);
    return Interned(CounterpartyKey(transaction.counterparty, transaction.memo,
                                    transaction.counterpartyAccount));
  }

  // Equal keys are one string, so that groups compare them by address.
  const std::string& Interned(std::string key) { return *interned_.insert(std::move(key)).first; }

  std::size_t bookings_;
  std::vector<BookingGroup> groups_;
  std::vector<std::size_t> groupAccounts_;
  std::unordered_map<GroupKey, std::size_t, GroupKeyHash> index_;
  std::unordered_map<std::string, std::size_t> accounts_;
  std::vector<std::int64_t> historyEnds_;  // by account
  // By account: a booking in two overlapping statements counts once.
  std::vector<std::unordered_set<std::string_view>> seen_;
  std::unordered_map<std::string, const std::string*> nameKeys_;
  std::unordered_set<std::string> interned_;
};

}  // namespace

std::vector<BookingGroup> GroupBookings(const std::vector<Statement>& statements) {
  std::size_t bookings = 0;
  for (const Statement& statement : statements)
    bookings += statement.transactions.size();
  Grouping grouping(bookings);
  for (const Statement& statement : statements)
    grouping.Add(statement);
  return grouping.Finish();
}

}  // namespace paylark

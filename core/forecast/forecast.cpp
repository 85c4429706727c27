#include "core/forecast/forecast.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/forecast/account_key.h"
#include "core/forecast/newest_balances.h"
#include "core/records/record_extension.h"

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Without a balance entry, how far back an income not received is still listed.
constexpr std::int64_t kLookBackDays = 31;

std::int64_t DayOf(const OleDateTime& moment) {
  const std::int64_t seconds = moment.LinearSeconds();
  return seconds >= 0 ? seconds / kSecondsPerDay
                      : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
}

OleDateTime DayStart(std::int64_t day) {
  return OleDateTime(static_cast<double>(day));
}

struct Window {
  std::int64_t today;
  std::int64_t lastDay;
  const OleDateTime& now;
};

class ForecastBuilder {
 public:
  ForecastBuilder(const ForecastRequest& request, std::span<const BalanceEntry> balances)
      : request_(request),
        window_{DayOf(request.now), DayOf(request.now) + std::max(request.horizonDays, 0),
                request.now},
        starts_(NewestBalances(balances, request.account)) {
    if (request.account)
      wanted_ = AccountKey(*request.account);
    for (const auto& [key, entry] : starts_) {
      forecast_.startBalance = AddCents(forecast_.startBalance, ToCents(entry->amount));
      if (!forecast_.startDate || entry->date > *forecast_.startDate)
        forecast_.startDate = entry->date;
    }
    forecast_.balanceToday = forecast_.startBalance;
  }

  void Take(const PackedDue& due) {
    const OleDateTime dueDate = due.DueDate();
    if (!dueDate.IsValid())
      return;
    const AccountFacts& account = FactsOf(due.Account());
    if (!account.wanted)
      return;
    // Only a due with payment details has parts: reading the block of every due costs time.
    const std::string_view block = due.ExtensionBlock();
    if (block.empty())
      ClearPayments();
    else
      ReadExtension(block, scratch_);
    RememberPaidMember(due, dueDate);
    TakePayments(due, dueDate, account);
    if (!due.IsPaid())
      TakeUnpaid(due, dueDate, account);
  }

  Forecast Finish() {
    ApplyEstimates();
    SortItems();
    ListPaidSinceEntry();
    ListUncountedIncomes();
    RunBalances();
    FindNextIncome();
    return std::move(forecast_);
  }

 private:
  struct Pending {
    std::int64_t day;
    std::int64_t dueSeconds;  // the moment it counts at, for the order within a day
    Cents amount;
    PackedDue due;  // views into the record map
    bool income;
    bool overdue;
    bool estimated = false;
  };

  // What a series' paid members cost, by due date, and whether it ever differed from the
  // amount due.
  struct PaidMembers {
    std::vector<std::pair<std::int64_t, Cents>> paid;  // due seconds, what was paid
    bool differs = false;
  };

  // What a paid bill of a series cost, for its series' estimate.
  void RememberPaidMember(const PackedDue& due, const OleDateTime& dueDate) {
    if (request_.estimate == Estimate::kAmount || !due.IsPaid() || due.type() == kTypeIncome)
      return;
    const std::string_view series = due.SeriesId();
    if (series.empty())
      return;
    scratch_.amount = due.amount();
    scratch_.paid = 1;
    const Cents amount = ToCents(due.amount());
    const Cents paid = scratch_.paidAmount ? PaidCents(scratch_) : amount;
    PaidMembers& members = paidMembers_[series];
    members.paid.emplace_back(dueDate.LinearSeconds(), paid);
    members.differs = members.differs || paid != amount || paid != members.paid.front().second;
  }

  // The unpaid bills of series counted at the estimate: positions in order_, and their series.
  void RememberEstimable(const PackedDue& due) {
    if (request_.estimate == Estimate::kAmount || due.type() == kTypeIncome)
      return;
    if (scratch_.paidAmount || !scratch_.laterParts.empty())
      return;
    if (const std::string_view series = due.SeriesId(); !series.empty())
      estimable_.emplace_back(order_.size() - 1, series);
  }

  void ApplyEstimates() {
    if (estimable_.empty())
      return;
    std::unordered_map<std::string_view, std::optional<Cents>> estimates;
    for (const auto& [position, id] : estimable_) {
      auto [estimate, isNew] = estimates.try_emplace(id);
      if (!isNew)
        continue;
      const auto found = paidMembers_.find(id);
      if (found == paidMembers_.end() || !found->second.differs)
        continue;
      PaidMembers& members = found->second;
      std::stable_sort(members.paid.begin(), members.paid.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      std::vector<Cents> paid;
      paid.reserve(members.paid.size());
      for (const auto& [seconds, cents] : members.paid)
        paid.push_back(cents);
      estimate->second = EstimateFrom(paid, request_.estimate);
    }
    for (const auto& [position, id] : estimable_) {
      const auto estimate = estimates.find(id);
      if (estimate == estimates.end() || !estimate->second)
        continue;
      order_[position].amount = -*estimate->second;
      order_[position].estimated = true;
    }
  }

  // What the forecast needs of a due's account: whether it is the one asked for, and the
  // balance entry it starts from (none without one).
  struct AccountFacts {
    bool wanted = false;
    const BalanceEntry* start = nullptr;
  };

  // Folding an account name is slow beside the rest; dues share a handful of accounts, and
  // neighbours in the map mostly the same one.
  const AccountFacts& FactsOf(std::string_view account) {
    if (lastFacts_ && account == lastAccount_)
      return *lastFacts_;
    lastAccount_.assign(account);
    auto found = accounts_.find(lastAccount_);
    if (found == accounts_.end()) {
      const std::string key = AccountKey(lastAccount_);
      const auto start = starts_.find(key);
      const AccountFacts facts{!wanted_ || key == *wanted_,
                               start != starts_.end() ? start->second : nullptr};
      found = accounts_.emplace(lastAccount_, facts).first;
    }
    lastFacts_ = &found->second;
    return found->second;
  }

  void ClearPayments() {
    scratch_.paidOn.reset();
    scratch_.paidAmount.reset();
    scratch_.laterParts.clear();
  }

  static Cents Signed(std::int32_t type, double amount) {
    return ToCents(type == kTypeIncome ? amount : -amount);
  }

  // Each payment of the due (a paid due without any: its amount on its due date) moves the
  // balance only after its account's entry: the entry already holds the ones before.
  void TakePayments(const PackedDue& due, const OleDateTime& dueDate, const AccountFacts& account) {
    if (!account.start)
      return;
    const OleDateTime& after = account.start->date;
    const bool whole = due.IsPaid() && scratch_.laterParts.empty();
    if (!scratch_.paidOn && !scratch_.paidAmount) {
      if (due.IsPaid())
        TakePayment(due, dueDate, after, dueDate, due.amount());
      return;
    }
    const auto when = [&](const std::optional<OleDateTime>& on) {
      return on && on->IsValid() ? *on : dueDate;
    };
    TakePayment(due, dueDate, after, when(scratch_.paidOn),
                scratch_.paidAmount.value_or(whole ? due.amount() : 0.0));
    for (const PaymentPart& part : scratch_.laterParts)
      TakePayment(due, dueDate, after, when(part.on), part.amount.value_or(0.0));
  }

  void TakePayment(const PackedDue& due, const OleDateTime& dueDate, const OleDateTime& after,
                   const OleDateTime& moment, double amount) {
    if (!(moment > after))
      return;
    const Cents signedAmount = Signed(due.type(), amount);
    if (moment > window_.now) {
      AddItem(due, dueDate, DayOf(moment), signedAmount);
      return;
    }
    forecast_.balanceToday = AddCents(forecast_.balanceToday, signedAmount);
    paidSince_.push_back(MakePending(due, DayOf(moment), moment.LinearSeconds(), signedAmount));
  }

  // What is left of an unpaid due: its amount less the parts paid.
  double LeftOf(const PackedDue& due) {
    if (!scratch_.paidAmount && scratch_.laterParts.empty())
      return due.amount();
    scratch_.amount = due.amount();
    scratch_.paid = 0;
    return FromCents(LeftCents(scratch_));
  }

  void TakeUnpaid(const PackedDue& due, const OleDateTime& dueDate, const AccountFacts& account) {
    const std::int64_t day = DayOf(dueDate);
    if (day >= window_.today || due.type() != kTypeIncome) {
      const std::size_t before = order_.size();
      AddItem(due, dueDate, std::max(day, window_.today), Signed(due.type(), LeftOf(due)));
      if (order_.size() != before)
        RememberEstimable(due);
      return;
    }
    const bool sinceStart =
        account.start ? day >= DayOf(account.start->date) : day >= window_.today - kLookBackDays;
    if (sinceStart)
      uncounted_.push_back(MakePending(due, day, dueDate.LinearSeconds(), ToCents(LeftOf(due))));
  }

  void AddItem(const PackedDue& due, const OleDateTime& dueDate, std::int64_t day, Cents amount) {
    if (day > window_.lastDay)
      return;
    Pending pending = MakePending(due, day, dueDate.LinearSeconds(), amount);
    pending.overdue = DayOf(dueDate) < window_.today && !due.IsPaid();
    order_.push_back(pending);
  }

  static Pending MakePending(const PackedDue& due, std::int64_t day, std::int64_t seconds,
                             Cents amount) {
    return {day, seconds, amount, due, due.type() == kTypeIncome, false, false};
  }

  // Oldest first; the balance after each runs from the entries' sum to today's.
  void ListPaidSinceEntry() {
    SortBySeconds(paidSince_);
    Cents balance = forecast_.startBalance;
    for (const Pending& paid : paidSince_) {
      balance = AddCents(balance, paid.amount);
      AppendItem(forecast_.paidSinceEntry, paid, balance);
    }
  }

  void ListUncountedIncomes() {
    SortBySeconds(uncounted_);
    for (const Pending& income : uncounted_) {
      AppendItem(forecast_.uncountedIncomes, income, forecast_.balanceToday).overdue = true;
    }
  }

  static void SortBySeconds(std::vector<Pending>& pending) {
    std::stable_sort(pending.begin(), pending.end(), [](const Pending& a, const Pending& b) {
      return a.dueSeconds < b.dueSeconds;
    });
  }

  // Sorts small keys, and makes the items with their texts only once, in their order; ties keep
  // the map's order.
  void SortItems() {
    std::stable_sort(order_.begin(), order_.end(), [](const Pending& a, const Pending& b) {
      if (a.day != b.day)
        return a.day < b.day;
      if (a.income != b.income)
        return a.income;
      return a.dueSeconds < b.dueSeconds;
    });
  }

  void RunBalances() {
    Cents balance = forecast_.balanceToday;
    auto next = order_.begin();
    forecast_.items.reserve(order_.size());
    forecast_.days.reserve(static_cast<std::size_t>(window_.lastDay - window_.today + 1));
    for (std::int64_t day = window_.today; day <= window_.lastDay; ++day) {
      for (; next != order_.end() && next->day == day; ++next) {
        balance = AddCents(balance, next->amount);
        AppendItem(forecast_.items, *next, balance);
      }
      const DayBalance close{DayStart(day), balance};
      if (forecast_.days.empty() || close.balance < forecast_.low.balance)
        forecast_.low = close;
      if (!forecast_.firstBelow && close.balance < request_.warnBelow)
        forecast_.firstBelow = close.date;
      forecast_.days.push_back(close);
    }
  }

  void FindNextIncome() {
    NextIncome next;
    Cents balance = forecast_.balanceToday;
    for (std::size_t position = 0; position < forecast_.items.size(); ++position) {
      const ForecastItem& item = forecast_.items[position];
      if (item.income && item.amount > 0) {
        next.date = item.date;
        next.left = balance;
        forecast_.nextIncome = std::move(next);
        return;
      }
      if (item.amount < 0) {
        next.dueItems.push_back(position);
        next.total = AddCents(next.total, -item.amount);
      }
      balance = item.balanceAfter;
    }
  }

  // Made in place: tens of thousands of items are worth not moving.
  static ForecastItem& AppendItem(std::vector<ForecastItem>& items, const Pending& pending,
                                  Cents balanceAfter) {
    ForecastItem& item = items.emplace_back();
    item.date = DayStart(pending.day);
    pending.due.RecordIdInto(item.recordId);
    item.title = pending.due.Title();
    item.income = pending.income;
    item.overdue = pending.overdue;
    item.estimated = pending.estimated;
    item.amount = pending.amount;
    item.balanceAfter = balanceAfter;
    return item;
  }

  const ForecastRequest& request_;
  Window window_;
  std::map<std::string, const BalanceEntry*> starts_;
  std::optional<std::string> wanted_;
  std::unordered_map<std::string, AccountFacts> accounts_;  // by account name as written
  std::string lastAccount_;
  const AccountFacts* lastFacts_ = nullptr;
  DueRecord scratch_;  // the record being read, its strings reused
  std::vector<Pending> order_;
  std::vector<std::pair<std::size_t, std::string_view>> estimable_;
  std::unordered_map<std::string_view, PaidMembers> paidMembers_;  // by series ID
  std::vector<Pending> paidSince_;
  std::vector<Pending> uncounted_;
  Forecast forecast_;
};

}  // namespace

Forecast MakeForecast(const ForecastRequest& request, std::span<const BalanceEntry> balances,
                      const DueMap& dues) {
  ForecastBuilder builder(request, balances);
  dues.ForEachPacked([&](const PackedDue& due) { builder.Take(due); });
  return builder.Finish();
}

}  // namespace paylark

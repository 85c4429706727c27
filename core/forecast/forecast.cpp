#include "core/forecast/forecast.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

#include "core/forecast/account_key.h"
#include "core/forecast/newest_balances.h"

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

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
      forecast_.startBalance += ToCents(entry->amount);
      if (!forecast_.startDate || entry->date > *forecast_.startDate)
        forecast_.startDate = entry->date;
    }
    forecast_.balanceToday = forecast_.startBalance;
  }

  void Take(const DueRecord& record) {
    if (!record.dueDate.IsValid())
      return;
    const std::string& key = KeyOf(record.account);
    if (wanted_ && key != *wanted_)
      return;
    if (IsPaid(record))
      TakePaid(record, key);
    else
      TakeUnpaid(record);
  }

  Forecast Finish() {
    SortItems();
    RunBalances();
    FindNextIncome();
    return std::move(forecast_);
  }

 private:
  // Folding an account name is slow beside the rest; dues share a handful of accounts.
  const std::string& KeyOf(const std::string& account) {
    auto found = keys_.find(account);
    if (found == keys_.end())
      found = keys_.emplace(account, AccountKey(account)).first;
    return found->second;
  }

  static Cents Signed(const DueRecord& record, double amount) {
    const Cents cents = ToCents(amount);
    return record.type == kTypeIncome ? cents : -cents;
  }

  // A paid due moves the balance only after its account's entry: the entry already holds it.
  void TakePaid(const DueRecord& record, const std::string& key) {
    const auto start = starts_.find(key);
    if (start == starts_.end())
      return;
    const OleDateTime moment =
        record.paidOn && record.paidOn->IsValid() ? *record.paidOn : record.dueDate;
    if (!(moment > start->second->date))
      return;
    const Cents amount = Signed(record, PaidOrDueAmount(record));
    if (!(moment > window_.now))
      forecast_.balanceToday += amount;
    else
      AddItem(record, DayOf(moment), amount);
  }

  void TakeUnpaid(const DueRecord& record) {
    const std::int64_t due = DayOf(record.dueDate);
    const bool income = record.type == kTypeIncome;
    if (due < window_.today && income)
      return;
    AddItem(record, std::max(due, window_.today), Signed(record, record.amount));
  }

  void AddItem(const DueRecord& record, std::int64_t day, Cents amount) {
    if (day > window_.lastDay)
      return;
    ForecastItem item;
    item.date = DayStart(day);
    item.recordId = record.recordId;
    item.title = record.title;
    item.income = record.type == kTypeIncome;
    item.overdue = DayOf(record.dueDate) < window_.today && !IsPaid(record);
    item.amount = amount;
    order_.push_back({day, record.dueDate.LinearSeconds(), item.income,
                      static_cast<std::uint32_t>(items_.size())});
    items_.push_back(std::move(item));
  }

  // Sorts small keys rather than the items with their texts; ties keep the map's order.
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
    forecast_.items.reserve(items_.size());
    forecast_.days.reserve(static_cast<std::size_t>(window_.lastDay - window_.today + 1));
    for (std::int64_t day = window_.today; day <= window_.lastDay; ++day) {
      for (; next != order_.end() && next->day == day; ++next) {
        ForecastItem& item = items_[next->index];
        balance += item.amount;
        item.balanceAfter = balance;
        forecast_.items.push_back(std::move(item));
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
    for (const ForecastItem& item : forecast_.items) {
      if (item.income && item.amount > 0) {
        next.date = item.date;
        next.left = balance;
        forecast_.nextIncome = std::move(next);
        return;
      }
      if (item.amount < 0) {
        next.dueIds.push_back(item.recordId);
        next.total -= item.amount;
      }
      balance = item.balanceAfter;
    }
  }

  struct Pending {
    std::int64_t day;
    std::int64_t dueSeconds;
    bool income;
    std::uint32_t index;
  };

  const ForecastRequest& request_;
  Window window_;
  std::map<std::string, const BalanceEntry*> starts_;
  std::optional<std::string> wanted_;
  std::unordered_map<std::string, std::string> keys_;
  std::vector<ForecastItem> items_;  // in map order
  std::vector<Pending> order_;
  Forecast forecast_;
};

}  // namespace

Forecast MakeForecast(const ForecastRequest& request, std::span<const BalanceEntry> balances,
                      const DueMap& dues) {
  ForecastBuilder builder(request, balances);
  dues.ForEach([&](const DueRecord& record) { builder.Take(record); });
  return builder.Finish();
}

}  // namespace paylark

#include "core/forecast/forecast.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/base/page_block.h"
#include "core/base/text_hash.h"
#include "core/forecast/account_key.h"
#include "core/forecast/newest_balances.h"
#include "core/records/record_extension.h"

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Without a balance entry, how far back an income not received is still listed.
constexpr std::int64_t kLookBackDays = 31;

std::int64_t DayOfSeconds(std::int64_t seconds) {
  return seconds >= 0 ? seconds / kSecondsPerDay
                      : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
}

std::int64_t DayOf(const OleDateTime& moment) {
  return DayOfSeconds(moment.LinearSeconds());
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
    const std::int64_t seconds = dueDate.LinearSeconds();
    Taken taken{
        due, dueDate, seconds, DayOfSeconds(seconds), due.IsPaid(), due.type() == kTypeIncome,
        {},  {}};
    // An unpaid due past the horizon adds nothing unless part of it is paid: its texts, most of
    // what a pass over the map reads, stay unread.
    if (!taken.paid && taken.day > window_.lastDay && !due.HasExtension())
      return;
    const PackedDue::TextViews texts = due.ReadTexts();
    const AccountFacts& account = FactsOf(texts.account);
    if (!account.wanted)
      return;
    // Only a due with payment details has parts: reading the block of every due costs time.
    if (texts.extension.empty())
      ClearPayments();
    else
      ReadExtension(texts.extension, scratch_);
    taken.title = texts.title;
    taken.seriesId = texts.seriesId;
    RememberPaidMember(taken);
    TakePayments(taken, account);
    if (!taken.paid)
      TakeUnpaid(taken, account);
  }

  // Room for an item per due: growing the lists a step at a time would copy them, and take fresh
  // pages from the system each time. Only what is filled becomes resident.
  void Reserve(std::size_t dues) {
    forecast_.items.reserve(dues);
    PreferHugePages(forecast_.items.data(), dues * sizeof(ForecastItem));
    coming_.reserve(dues);
    PreferHugePages(coming_.data(), dues * sizeof(OrderKey));
  }

  Forecast Finish() {
    ApplyEstimates();
    PutInOrder(forecast_.items, coming_);
    PutInOrder(forecast_.paidSinceEntry, paidSince_);
    PutInOrder(forecast_.uncountedIncomes, uncounted_);
    RunPaidSinceEntry();
    for (ForecastItem& income : forecast_.uncountedIncomes)
      income.balanceAfter = forecast_.balanceToday;
    RunBalances();
    FindNextIncome();
    return std::move(forecast_);
  }

 private:
  // The due being taken, with what several steps read of it worked out once.
  struct Taken {
    const PackedDue& due;
    OleDateTime date;
    std::int64_t seconds;  // of the due date
    std::int64_t day;
    bool paid;
    bool income;
    std::string_view title;
    std::string_view seriesId;
  };

  // Where an item goes in its list: by day, within a day incomes first, then by the moment it
  // was due; ties keep the map's order. The items are made as the map is read, while their texts
  // are at hand, and only these keys are sorted: one 128-bit number each, which compares in a
  // step. From the most significant bit down: the day (32 bits), whether it is not an income (1),
  // the due moment in seconds (63) and the position in the list as made (32), each offset to be
  // unsigned.
  class OrderKey {
   public:
    OrderKey(std::int64_t day, bool income, std::int64_t dueSeconds)
        : value_((Unsigned(day, 31) << 96) | (Wide(!income) << 95) |
                 (Unsigned(dueSeconds, 62) << 32)) {}

    std::uint32_t position() const { return static_cast<std::uint32_t>(value_); }
    void SetPosition(std::uint32_t position) { value_ = (value_ >> 32 << 32) | position; }
    bool operator<(const OrderKey& other) const { return value_ < other.value_; }

   private:
    using Wide = unsigned __int128;
    static Wide Unsigned(std::int64_t value, int offsetBits) {
      return static_cast<std::uint64_t>(value) + (std::uint64_t{1} << offsetBits);
    }

    Wide value_;
  };

  // What a series' paid members cost, by due date, and whether it ever differed from the
  // amount due; then the estimate its unpaid bills count at.
  struct PaidMembers {
    std::vector<std::pair<std::int64_t, Cents>> paid;  // due seconds, what was paid
    bool differs = false;
    bool estimated = false;  // whether `estimate` was worked out
    std::optional<Cents> estimate;
  };

  // The series' entry. The keys are copies: a key read from the map where the series' first due
  // stands would be a cache miss on every look-up.
  PaidMembers& MembersOf(std::string_view series) {
    const auto found = paidMembers_.find(series);
    if (found != paidMembers_.end())
      return found->second;
    return paidMembers_.emplace(std::string(series), PaidMembers()).first->second;
  }

  // What a paid bill of a series cost, for its series' estimate.
  void RememberPaidMember(const Taken& taken) {
    if (request_.estimate == Estimate::kAmount || !taken.paid || taken.income ||
        taken.seriesId.empty())
      return;
    scratch_.amount = taken.due.amount();
    scratch_.paid = 1;
    const Cents amount = ToCents(taken.due.amount());
    const Cents paid = scratch_.paidAmount ? PaidCents(scratch_) : amount;
    PaidMembers& members = MembersOf(taken.seriesId);
    members.paid.emplace_back(taken.seconds, paid);
    members.differs = members.differs || paid != amount || paid != members.paid.front().second;
  }

  // The unpaid bills of series counted at the estimate: positions in forecast_.items, and their
  // series.
  void RememberEstimable(const Taken& taken) {
    if (request_.estimate == Estimate::kAmount || taken.income || taken.seriesId.empty())
      return;
    if (scratch_.paidAmount || !scratch_.laterParts.empty())
      return;
    estimable_.emplace_back(forecast_.items.size() - 1, &MembersOf(taken.seriesId));
  }

  std::optional<Cents> EstimateOf(PaidMembers& members) const {
    if (!members.estimated && members.differs) {
      std::stable_sort(members.paid.begin(), members.paid.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      std::vector<Cents> paid;
      paid.reserve(members.paid.size());
      for (const auto& [seconds, cents] : members.paid)
        paid.push_back(cents);
      members.estimate = EstimateFrom(paid, request_.estimate);
    }
    members.estimated = true;
    return members.estimate;
  }

  void ApplyEstimates() {
    for (const auto& [position, members] : estimable_) {
      const std::optional<Cents> estimate = EstimateOf(*members);
      if (!estimate)
        continue;
      forecast_.items[position].amount = -*estimate;
      forecast_.items[position].estimated = true;
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

  static Cents Signed(bool income, double amount) { return ToCents(income ? amount : -amount); }

  // Each payment of the due (a paid due without any: its amount on its due date) moves the
  // balance only after its account's entry: the entry already holds the ones before.
  void TakePayments(const Taken& taken, const AccountFacts& account) {
    if (!account.start)
      return;
    const OleDateTime& after = account.start->date;
    const bool whole = taken.paid && scratch_.laterParts.empty();
    if (!scratch_.paidOn && !scratch_.paidAmount) {
      if (taken.paid)
        TakePayment(taken, after, std::nullopt, taken.due.amount());
      return;
    }
    TakePayment(taken, after, scratch_.paidOn,
                scratch_.paidAmount.value_or(whole ? taken.due.amount() : 0.0));
    for (const PaymentPart& part : scratch_.laterParts)
      TakePayment(taken, after, part.on, part.amount.value_or(0.0));
  }

  // A payment without a valid date counts on the due date.
  void TakePayment(const Taken& taken, const OleDateTime& after,
                   const std::optional<OleDateTime>& on, double amount) {
    const bool onDueDate = !on || !on->IsValid();
    const OleDateTime& moment = onDueDate ? taken.date : *on;
    if (!(moment > after))
      return;
    const Cents signedAmount = Signed(taken.income, amount);
    const std::int64_t seconds = onDueDate ? taken.seconds : moment.LinearSeconds();
    if (moment > window_.now) {
      AddComing(taken, DayOfSeconds(seconds), signedAmount);
      return;
    }
    forecast_.balanceToday = AddCents(forecast_.balanceToday, signedAmount);
    // Listed oldest first: by the moment alone.
    AddItem(forecast_.paidSinceEntry, paidSince_, taken, OrderKey(0, false, seconds),
            DayOfSeconds(seconds), signedAmount);
  }

  // What is left of an unpaid due: its amount less the parts paid.
  double LeftOf(const PackedDue& due) {
    if (!scratch_.paidAmount && scratch_.laterParts.empty())
      return due.amount();
    scratch_.amount = due.amount();
    scratch_.paid = 0;
    return FromCents(LeftCents(scratch_));
  }

  void TakeUnpaid(const Taken& taken, const AccountFacts& account) {
    if (taken.day >= window_.today || !taken.income) {
      if (AddComing(taken, std::max(taken.day, window_.today),
                    Signed(taken.income, LeftOf(taken.due))))
        RememberEstimable(taken);
      return;
    }
    const bool sinceStart = account.start ? taken.day >= DayOf(account.start->date)
                                          : taken.day >= window_.today - kLookBackDays;
    if (sinceStart)
      AddItem(forecast_.uncountedIncomes, uncounted_, taken, OrderKey(0, false, taken.seconds),
              taken.day, ToCents(LeftOf(taken.due)))
          .overdue = true;
  }

  // A due or payment still to come within the horizon; false when it falls beyond.
  bool AddComing(const Taken& taken, std::int64_t day, Cents amount) {
    if (day > window_.lastDay)
      return false;
    AddItem(forecast_.items, coming_, taken, OrderKey(day, taken.income, taken.seconds), day,
            amount)
        .overdue = taken.day < window_.today && !taken.paid;
    return true;
  }

  // Made in place: tens of thousands of items are worth not moving.
  ForecastItem& AddItem(std::vector<ForecastItem>& items, std::vector<OrderKey>& keys,
                        const Taken& taken, OrderKey key, std::int64_t day, Cents amount) {
    key.SetPosition(static_cast<std::uint32_t>(items.size()));
    keys.push_back(key);
    ForecastItem& item = items.emplace_back();
    item.date = DayStart(day);
    char digits[PackedId::kMostDigits];
    item.recordId = forecast_.texts.Add(taken.due.RecordIdIn(digits));
    item.title = forecast_.texts.Add(taken.title);
    item.income = taken.income;
    item.amount = amount;
    return item;
  }

  // Moves each item to where its key sorts, following each cycle of the order once.
  static void PutInOrder(std::vector<ForecastItem>& items, std::vector<OrderKey>& keys) {
    std::sort(keys.begin(), keys.end());
    for (std::uint32_t start = 0; start < keys.size(); ++start) {
      if (keys[start].position() == start)
        continue;
      const ForecastItem held = items[start];
      std::uint32_t at = start;
      while (keys[at].position() != start) {
        const std::uint32_t from = keys[at].position();
        items[at] = items[from];
        keys[at].SetPosition(at);
        at = from;
      }
      items[at] = held;
      keys[at].SetPosition(at);
    }
  }

  // The balance after each payment since the entry runs from the entries' sum to today's.
  void RunPaidSinceEntry() {
    Cents balance = forecast_.startBalance;
    for (ForecastItem& paid : forecast_.paidSinceEntry) {
      balance = AddCents(balance, paid.amount);
      paid.balanceAfter = balance;
    }
  }

  void RunBalances() {
    Cents balance = forecast_.balanceToday;
    auto next = forecast_.items.begin();
    forecast_.days.reserve(static_cast<std::size_t>(window_.lastDay - window_.today + 1));
    for (std::int64_t day = window_.today; day <= window_.lastDay; ++day) {
      const OleDateTime start = DayStart(day);
      for (; next != forecast_.items.end() && next->date == start; ++next) {
        balance = AddCents(balance, next->amount);
        next->balanceAfter = balance;
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

  const ForecastRequest& request_;
  Window window_;
  std::map<std::string, const BalanceEntry*> starts_;
  std::optional<std::string> wanted_;
  std::unordered_map<std::string, AccountFacts> accounts_;  // by account name as written
  std::string lastAccount_;
  const AccountFacts* lastFacts_ = nullptr;
  DueRecord scratch_;             // the record being read, its strings reused
  std::vector<OrderKey> coming_;  // the order of forecast_.items
  // Entries of an unordered map stay where they are as it grows.
  std::vector<std::pair<std::size_t, PaidMembers*>> estimable_;
  std::unordered_map<std::string, PaidMembers, TextHash, std::equal_to<>> paidMembers_;
  std::vector<OrderKey> paidSince_;  // of forecast_.paidSinceEntry
  std::vector<OrderKey> uncounted_;  // of forecast_.uncountedIncomes
  Forecast forecast_;
};

}  // namespace

Forecast MakeForecast(const ForecastRequest& request, std::span<const BalanceEntry> balances,
                      const DueMap& dues) {
  ForecastBuilder builder(request, balances);
  builder.Reserve(dues.size());
  dues.ForEachPacked([&](const PackedDue& due) { builder.Take(due); });
  return builder.Finish();
}

}  // namespace paylark

#include "core/statements/recurring/series_suggestions.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <unordered_set>

#include "core/statements/open_dues.h"
#include "core/statements/recurring/booking_groups.h"
#include "core/statements/recurring/counterparty_key.h"

namespace paylark {
namespace {

constexpr Cents kFixedPercent = 1;
constexpr Cents kVariablePercent = 35;
constexpr double kStoppedPeriods = 1.5;
constexpr int kSuggestedCount = 12;
// A yearly bill is two bookings alike a year apart: among a shop's many bookings two such are
// chance, so a yearly cadence is looked for only where the counterparty is booked this rarely.
constexpr std::size_t kMostBookingsOfAYearlyPayee = 4;

using Booking = const StatementTransaction*;

Cents Size(Booking booking) {
  return std::llabs(booking->amount);
}

using Group = BookingGroup;

void SortByDate(std::vector<Booking>& bookings) {
  std::stable_sort(bookings.begin(), bookings.end(), [](Booking a, Booking b) {
    return a->bookingDate.LinearSeconds() < b->bookingDate.LinearSeconds();
  });
}

// Who paid the members of series among the dues, keyed as bookings are.
std::unordered_set<std::string> SeriesPayerKeys(const DueMap& dues) {
  std::unordered_set<std::string> keys;
  dues.ForEach([&](const DueRecord& record) {
    if (!IsPaid(record) || !IsSeriesMember(record))
      return;
    if (std::string key =
            CounterpartyKey(record.paymentCounterparty, {}, record.paymentCounterpartyAccount);
        !key.empty())
      keys.insert(std::move(key));
    if (std::string name = CounterpartyNameKey(record.paymentCounterparty); !name.empty())
      keys.insert("name " + name);
  });
  return keys;
}

struct Recurrence {
  Cadence cadence;
  OleDateTime lastOccurrence;
  bool stopped = false;
};

std::optional<Recurrence> RecurrenceOf(const std::vector<Booking>& bookings,
                                       std::int64_t historyEnd, CadenceReach reach) {
  std::vector<OleDateTime> dates;
  dates.reserve(bookings.size());
  for (const Booking booking : bookings)
    dates.push_back(booking->bookingDate.DateOnly());
  const std::optional<Cadence> cadence = FindCadence(dates, reach);
  if (!cadence)
    return std::nullopt;
  const OleDateTime last = NominalDate(*cadence, dates.back());
  const auto sinceLast = static_cast<double>(historyEnd - DayNumber(last));
  return Recurrence{*cadence, last, sinceLast > kStoppedPeriods * PeriodDays(*cadence)};
}

SeriesSuggestion SuggestionOf(const Group& group, const std::vector<Booking>& bookings,
                              const Recurrence& recurrence) {
  SeriesSuggestion suggestion;
  const StatementTransaction& latest = *bookings.back();
  suggestion.payTo = DisplayName(latest.counterparty.empty() ? latest.memo : latest.counterparty);
  suggestion.title = suggestion.payTo;
  suggestion.account = group.account;
  suggestion.cadence = recurrence.cadence;
  OleDateTime next = recurrence.lastOccurrence;
  do {
    next = NextOccurrence(recurrence.cadence, next).value_or(next);
  } while (DayNumber(next) <= group.historyEnd && next.ToCivil().year < OleDateTime::kMaxYear);
  suggestion.next = next;
  suggestion.pattern = PatternOf(recurrence.cadence, next, kSuggestedCount);
  suggestion.patternText = CadenceText(recurrence.cadence, next);
  std::vector<Cents> sizes;
  sizes.reserve(bookings.size());
  for (const Booking booking : bookings) {
    sizes.push_back(Size(booking));
    suggestion.seen.push_back(*booking);
  }
  std::sort(sizes.begin(), sizes.end());
  suggestion.minimum = sizes.front();
  suggestion.maximum = sizes.back();
  suggestion.amount = (sizes[(sizes.size() - 1) / 2] + sizes[sizes.size() / 2]) / 2;
  suggestion.variable = suggestion.maximum * 100 > suggestion.minimum * (100 + kFixedPercent);
  suggestion.income = latest.amount > 0;
  return suggestion;
}

// Bookings whose amounts lie within 1% of the smallest of them, by amount.
std::vector<std::vector<Booking>> FixedAmounts(std::vector<Booking> bookings) {
  std::stable_sort(bookings.begin(), bookings.end(),
                   [](Booking a, Booking b) { return Size(a) < Size(b); });
  std::vector<std::vector<Booking>> clusters;
  for (const Booking booking : bookings) {
    if (clusters.empty() ||
        Size(booking) * 100 > Size(clusters.back().front()) * (100 + kFixedPercent))
      clusters.emplace_back();
    clusters.back().push_back(booking);
  }
  return clusters;
}

// The bookings within 35% of their median amount.
std::vector<Booking> NearTheMedian(const std::vector<Booking>& bookings) {
  std::vector<Cents> sizes;
  sizes.reserve(bookings.size());
  for (const Booking booking : bookings)
    sizes.push_back(Size(booking));
  std::nth_element(sizes.begin(), sizes.begin() + static_cast<long>(sizes.size() / 2), sizes.end());
  const Cents median = sizes[sizes.size() / 2];
  std::vector<Booking> near;
  for (const Booking booking : bookings) {
    if (std::llabs(Size(booking) - median) * 100 <= median * kVariablePercent)
      near.push_back(booking);
  }
  return near;
}

void SuggestFrom(const Group& group, bool monthsAllowed, std::vector<SeriesSuggestion>& out) {
  const CadenceReach reach = !monthsAllowed ? CadenceReach::kWeeks
                             : group.bookings.size() <= kMostBookingsOfAYearlyPayee
                                 ? CadenceReach::kYears
                                 : CadenceReach::kHalfYears;
  std::unordered_set<Booking> taken;
  for (std::vector<Booking>& cluster : FixedAmounts(group.bookings)) {
    if (cluster.size() < 2)
      continue;
    SortByDate(cluster);
    const std::optional<Recurrence> recurrence = RecurrenceOf(cluster, group.historyEnd, reach);
    if (!recurrence)
      continue;
    taken.insert(cluster.begin(), cluster.end());
    if (!recurrence->stopped)
      out.push_back(SuggestionOf(group, cluster, *recurrence));
  }
  std::vector<Booking> rest;
  for (const Booking booking : group.bookings) {
    if (!taken.contains(booking))
      rest.push_back(booking);
  }
  if (rest.size() < 2)
    return;
  const std::vector<Booking> near = NearTheMedian(rest);
  if (near.size() < 2)
    return;
  const std::optional<Recurrence> recurrence = RecurrenceOf(near, group.historyEnd, reach);
  if (recurrence && !recurrence->stopped)
    out.push_back(SuggestionOf(group, near, *recurrence));
}

}  // namespace

SeriesSuggestions SuggestSeries(const std::vector<Statement>& statements, const DueMap& dues) {
  SeriesSuggestions result;
  std::optional<std::int64_t> first;
  std::optional<std::int64_t> last;
  for (const Statement& statement : statements) {
    for (const StatementTransaction& transaction : statement.transactions) {
      if (!transaction.bookingDate.IsValid())
        continue;
      const std::int64_t day = DayNumber(transaction.bookingDate);
      first = std::min(first.value_or(day), day);
      last = std::max(last.value_or(day), day);
    }
  }
  if (!first)
    return result;
  result.firstBooking = OleDateTime(static_cast<double>(*first));
  result.lastBooking = OleDateTime(static_cast<double>(*last));
  result.historyDays = static_cast<int>(*last - *first + 1);
  result.monthlyLeftOut = result.historyDays < kMonthlyHistoryDays;
  const std::unordered_set<std::string> payers = SeriesPayerKeys(dues);
  for (const Group& group : GroupBookings(statements)) {
    if (group.bookings.size() < 2 || payers.contains(group.counterpartyKey) ||
        (!group.nameKey.empty() && payers.contains(group.nameKey)))
      continue;
    SuggestFrom(group, !result.monthlyLeftOut, result.suggestions);
  }
  std::stable_sort(result.suggestions.begin(), result.suggestions.end(),
                   [](const SeriesSuggestion& a, const SeriesSuggestion& b) {
                     if (a.next != b.next)
                       return a.next < b.next;
                     return a.title < b.title;
                   });
  return result;
}

}  // namespace paylark

#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/base/cents.h"
#include "core/base/ole_date_time.h"
#include "core/records/due_map.h"
#include "core/recurrence/recurrence_pattern.h"
#include "core/statements/recurring/cadence.h"
#include "core/statements/statement.h"

namespace paylark {

// Below this many days of bank history (the first booking's day to the last's, both counted)
// only weekly cadences are proposed: a monthly bill needs three months to show.
inline constexpr int kMonthlyHistoryDays = 90;

// A series the bank history shows: a counterparty paid (or paying) on a cadence.
struct SeriesSuggestion {
  std::string title;
  std::string payTo;    // the counterparty as the bank last wrote it
  std::string account;  // the Paylark account of its statements
  Cadence cadence;
  RecurrencePattern pattern;  // from the next occurrence, 12 of them
  std::string patternText;    // "monthly on the 1st"
  OleDateTime next;           // the first occurrence after the history
  Cents amount = 0;           // the median; never negative
  Cents minimum = 0;
  Cents maximum = 0;
  bool variable = false;  // the amounts differ by more than 1%
  bool income = false;    // money coming in
  // The bookings it was found in, in date order: the series' paid past members.
  std::vector<StatementTransaction> seen;
};

struct SeriesSuggestions {
  std::vector<SeriesSuggestion> suggestions;  // by next occurrence, then title
  OleDateTime firstBooking;
  OleDateTime lastBooking;
  int historyDays = 0;  // the first booking's day to the last's, both counted, of every statement
  // Less history than kMonthlyHistoryDays: cadences of a month and more were left out.
  bool monthlyLeftOut = false;
};

// The series the statements' bookings show. Bookings are grouped by account, direction and
// counterparty, and within a counterparty by amount: bookings within 1% of each other that recur
// make a fixed series; the rest, within 35% of their median, may make one variable series. A
// group last seen more than a period and a half before its account's history ends has stopped
// and is not proposed, nor is a counterparty that paid a member of a series among the dues.
SeriesSuggestions SuggestSeries(const std::vector<Statement>& statements, const DueMap& dues);

}  // namespace paylark

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/cents.h"
#include "core/base/ole_date_time.h"
#include "core/base/text_chunks.h"
#include "core/forecast/balance_entry.h"
#include "core/forecast/estimate.h"
#include "core/records/due_map.h"

namespace paylark {

struct ForecastRequest {
  std::optional<std::string> account;  // empty for all accounts together; "" is "(no account)"
  OleDateTime now;
  int horizonDays = 90;
  Cents warnBelow = 0;
  // What unpaid members of a series whose paid amounts vary count at.
  Estimate estimate = kDefaultEstimate;
};

struct DayBalance {
  OleDateTime date;  // 00:00 of the day
  Cents balance = 0;
};

// A coming due or income as the register lists it, with the balance after it. Its texts are
// views into the Forecast that listed it and last as long as it does.
struct ForecastItem {
  OleDateTime date;  // the day it counts on: today for an overdue bill
  std::string_view recordId;
  std::string_view title;
  bool income = false;
  bool overdue = false;
  bool estimated = false;  // the amount is the series' estimate, not the due's own
  Cents amount = 0;        // signed: negative for a bill
  Cents balanceAfter = 0;
};

// The dues before the next expected income, and what is left of the balance when it arrives.
struct NextIncome {
  OleDateTime date;
  std::vector<std::size_t> dueItems;  // positions in the forecast's items
  Cents total = 0;
  Cents left = 0;
};

struct Forecast {
  std::optional<OleDateTime> startDate;  // the balance entry's date; empty without an entry
  Cents startBalance = 0;
  // Bills paid and incomes received after the entry up to now, oldest first: their balances run
  // from startBalance to balanceToday.
  std::vector<ForecastItem> paidSinceEntry;
  Cents balanceToday = 0;
  // Incomes overdue and not received since the entry (without one, in the last month): listed,
  // never counted.
  std::vector<ForecastItem> uncountedIncomes;
  std::vector<DayBalance> days;  // today first, one per day to the horizon
  std::vector<ForecastItem> items;
  DayBalance low;
  std::optional<OleDateTime> firstBelow;
  std::optional<NextIncome> nextIncome;
  TextChunks texts;  // what the items' texts view
};

// The day-by-day balance of an account (or of all accounts together) from its newest balance
// entry. Today's balance is the entry's amount, less bills paid and plus incomes received after
// the entry's moment up to now (a paid due without a payment date counts on its due date), each
// of them listed; an account without an entry starts at 0 today. From today to the horizon, unpaid
// bills are taken off on their due dates (overdue ones today) and unpaid incomes added on theirs;
// within a day incomes come first. Income overdue and not received is not counted: it may never
// come. A bill of a series whose paid members cost other than their amounts, or differed among
// themselves, counts at the request's estimate unless part of it is paid; what was paid in parts
// counts on each part's day and only what is left is still to come.
Forecast MakeForecast(const ForecastRequest& request, std::span<const BalanceEntry> balances,
                      const DueMap& dues);

}  // namespace paylark

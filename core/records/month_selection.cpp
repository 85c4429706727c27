#include "core/records/month_selection.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "core/base/amount_sum.h"
#include "core/base/format.h"
#include "core/records/payment.h"

namespace paylark {
namespace {

// The month as a half-open span of time, so that selecting needs no calendar conversion per due.
struct MonthBounds {
  OleDateTime first;
  std::optional<OleDateTime> next;  // empty for December 9999
  bool Holds(const OleDateTime& date) const { return !(date < first) && (!next || date < *next); }
};

MonthBounds BoundsOf(const OleDateTime& month) {
  const CivilDateTime c = month.ToCivil();
  const int nextYear = c.month == 12 ? c.year + 1 : c.year;
  const int nextMonth = c.month == 12 ? 1 : c.month + 1;
  return {OleDateTime::FromCivil(c.year, c.month, 1).value_or(month),
          OleDateTime::FromCivil(nextYear, nextMonth, 1)};
}

}  // namespace

MonthFilter MonthFilterFromIndex(int index) {
  switch (index) {
    case 1:
      return MonthFilter::kPaidOnly;
    case 2:
      return MonthFilter::kUnpaidOnly;
    default:
      return MonthFilter::kAll;
  }
}

MonthSelection MonthFill(const RecordStore& store, const OleDateTime& month, MonthFilter filter) {
  MonthSelection selection;
  AmountSum paid;
  AmountSum unpaid;
  AmountSum income;
  bool anyIncome = false;
  const MonthBounds bounds = BoundsOf(month);
  const CivilDateTime civil = month.ToCivil();
  store.map().ForEachInMonth(civil.year, civil.month, [&](const DueRecord& record) {
    if (filter == MonthFilter::kPaidOnly && !IsPaid(record))
      return;
    if (filter == MonthFilter::kUnpaidOnly && IsPaid(record))
      return;
    if (!bounds.Holds(record.dueDate))
      return;
    selection.rows.push_back(record);
    if (IsIncome(record)) {
      income.Add(ToCents(ListedAmount(record)));
      anyIncome = true;
    } else {
      paid.Add(PaidShare(record));
      unpaid.Add(LeftCents(record));
    }
  });
  selection.paid = paid.cents();
  selection.unpaid = unpaid.cents();
  selection.total = (paid + unpaid).cents();
  selection.income = income.cents();
  SortByDueDate(selection.rows);
  selection.paidText = "Paid : " + FormatAmount(FromCents(selection.paid));
  selection.unpaidText = "Unpaid : " + FormatAmount(FromCents(selection.unpaid));
  selection.totalText = "Total : " + FormatAmount(FromCents(selection.total));
  if (anyIncome)
    selection.incomeText = "Income : " + FormatAmount(FromCents(selection.income));
  return selection;
}

// A record is large: the order is found on small keys, and then each record moves once.
void SortByDueDate(std::vector<DueRecord>& rows) {
  struct Key {
    OleDateTime dueDate;
    std::size_t position;
  };
  std::vector<Key> keys;
  keys.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    keys.push_back({rows[i].dueDate, i});
  std::stable_sort(keys.begin(), keys.end(),
                   [](const Key& a, const Key& b) { return a.dueDate < b.dueDate; });
  std::vector<DueRecord> sorted;
  sorted.reserve(rows.size());
  for (const Key& key : keys)
    sorted.push_back(std::move(rows[key.position]));
  rows = std::move(sorted);
}

std::vector<DueRecord> RangeFill(const RecordStore& store, const OleDateTime& first,
                                 const OleDateTime& last) {
  std::vector<DueRecord> rows;
  store.map().ForEach([&](const DueRecord& record) {
    if (CompareMonth(record.dueDate, first) >= 0 && CompareMonth(record.dueDate, last) <= 0) {
      rows.push_back(record);
    }
  });
  return rows;
}

}  // namespace paylark

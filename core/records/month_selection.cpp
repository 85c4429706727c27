#include "core/records/month_selection.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "core/base/amount_sum.h"
#include "core/base/format.h"
#include "core/records/packed_due.h"
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

// The month's dues the filter shows, in the order of their due dates (map order among equal
// ones), found on their packed fields: each is then unpacked once, where it stays.
std::vector<PackedDue> ShownInOrder(const RecordStore& store, const OleDateTime& month,
                                    MonthFilter filter) {
  const MonthBounds bounds = BoundsOf(month);
  const CivilDateTime civil = month.ToCivil();
  std::vector<PackedDue> shown;
  shown.reserve(store.map().CountInMonth(civil.year, civil.month));
  store.map().ForEachPackedInMonth(civil.year, civil.month, [&](const PackedDue& due) {
    const bool wanted = (filter != MonthFilter::kPaidOnly || due.IsPaid()) &&
                        (filter != MonthFilter::kUnpaidOnly || !due.IsPaid());
    if (wanted && bounds.Holds(due.DueDate()))
      shown.push_back(due);
  });
  std::stable_sort(shown.begin(), shown.end(), [](const PackedDue& a, const PackedDue& b) {
    return a.DueDate() < b.DueDate();
  });
  return shown;
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
  const std::vector<PackedDue> shown = ShownInOrder(store, month, filter);
  selection.rows.resize(shown.size());
  for (std::size_t row = 0; row < shown.size(); ++row) {
    DueRecord& record = selection.rows[row];
    shown[row].UnpackInto(record);
    if (IsIncome(record)) {
      income.Add(ToCents(ListedAmount(record)));
      anyIncome = true;
    } else {
      paid.Add(PaidShare(record));
      unpaid.Add(LeftCents(record));
    }
  }
  selection.paid = paid.cents();
  selection.unpaid = unpaid.cents();
  selection.total = (paid + unpaid).cents();
  selection.income = income.cents();
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

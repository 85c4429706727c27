#pragma once

#include <string>
#include <vector>

#include "core/base/cents.h"
#include "core/base/ole_date_time.h"
#include "core/records/due_record.h"
#include "core/records/record_store.h"

namespace paylark {

// The toolbar filter: index 0 "All", 1 "Paid Dues", 2 "Unpaid Dues".
enum class MonthFilter { kAll = 0, kPaidOnly = 1, kUnpaidOnly = 2 };
// Any index other than 1 or 2 (an empty selection too) keeps every due.
MonthFilter MonthFilterFromIndex(int index);

struct MonthSelection {
  std::vector<DueRecord> rows;  // list order: ascending due date, ties in map order
  Cents paid = 0;
  Cents unpaid = 0;
  Cents total = 0;
  Cents income = 0;
  std::string paidText;    // "Paid : $1,234.50"
  std::string unpaidText;  // "Unpaid : $0.00"
  std::string totalText;   // "Total : $1,234.50"
  std::string incomeText;  // "Income : $2,100.00"; empty when no income is listed
};

// The dues of month's year and month that pass the filter, sorted as the month list shows them,
// with the sums over exactly those dues: Paid, Unpaid and Total over the bills, Income over the
// incomes.
MonthSelection MonthFill(const RecordStore& store, const OleDateTime& month, MonthFilter filter);

// Sorts by due date, earliest first; equal due dates keep their order.
void SortByDueDate(std::vector<DueRecord>& rows);

// The dues whose due month lies from first's month to last's month, both included, in map order.
std::vector<DueRecord> RangeFill(const RecordStore& store, const OleDateTime& first,
                                 const OleDateTime& last);

}  // namespace paylark

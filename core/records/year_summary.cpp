#include "core/records/year_summary.h"

#include <algorithm>
#include <map>
#include <optional>

#include "core/base/cents.h"
#include "core/records/payment.h"

namespace paylark {
namespace {

// A due counts what was paid and what is left, as in the month list.
void Count(AmountSums& sums, const DueRecord& record) {
  const Cents paid = PaidShare(record);
  const Cents left = LeftCents(record);
  sums.total = AddCents(AddCents(sums.total, paid), left);
  sums.paid = AddCents(sums.paid, paid);
  sums.unpaid = AddCents(sums.unpaid, left);
}

// The starts of the year's twelve months and of the next year (absent after 9999).
std::array<std::optional<OleDateTime>, 13> MonthStarts(int year) {
  std::array<std::optional<OleDateTime>, 13> starts;
  for (int month = 0; month < 12; ++month)
    starts[static_cast<std::size_t>(month)] = OleDateTime::FromCivil(year, month + 1, 1);
  starts[12] = OleDateTime::FromCivil(year + 1, 1, 1);
  return starts;
}

// The due's month index in the year, or -1 when it falls due in another year.
int MonthIndexOf(const OleDateTime& due, const std::array<std::optional<OleDateTime>, 13>& starts) {
  if (!starts[0] || due < *starts[0] || (starts[12] && !(due < *starts[12])))
    return -1;
  int month = 11;
  while (month > 0 && due < *starts[static_cast<std::size_t>(month)])
    --month;
  return month;
}

}  // namespace

YearSummary SummarizeYear(const RecordStore& store, int year) {
  YearSummary summary;
  summary.year = year;
  const auto starts = MonthStarts(year);
  std::map<std::string, PayeeSums> payees;
  store.map().ForEach([&](const DueRecord& record) {
    const int month = MonthIndexOf(record.dueDate, starts);
    // The sums are of bills, as the status bar's are: an income is not paid out.
    if (month < 0 || IsIncome(record))
      return;
    Count(summary.months[static_cast<std::size_t>(month)], record);
    Count(summary.wholeYear, record);
    PayeeSums& payee = payees[record.payTo];
    payee.payTo = record.payTo;
    ++payee.dues;
    Count(payee.sums, record);
  });
  for (auto& [name, sums] : payees)
    summary.payees.push_back(std::move(sums));
  std::stable_sort(
      summary.payees.begin(), summary.payees.end(),
      [](const PayeeSums& a, const PayeeSums& b) { return a.sums.total > b.sums.total; });
  return summary;
}

}  // namespace paylark

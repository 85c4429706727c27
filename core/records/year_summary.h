#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/base/cents.h"
#include "core/records/record_store.h"

namespace paylark {

struct AmountSums {
  Cents paid = 0;
  Cents unpaid = 0;
  Cents total = 0;
};

struct PayeeSums {
  std::string payTo;
  std::size_t dues = 0;
  AmountSums sums;
};

struct YearSummary {
  int year = 0;
  std::array<AmountSums, 12> months;  // January to December
  AmountSums wholeYear;
  std::vector<PayeeSums> payees;  // largest total first, equal totals by pay-to
};

// The year's dues summed by due month and by pay-to. Each month's sums are added up in map
// order, as the month list adds them, so they equal the list's sums for that month.
YearSummary SummarizeYear(const RecordStore& store, int year);

}  // namespace paylark

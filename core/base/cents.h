#pragma once

#include <cmath>
#include <cstdint>

namespace paylark {

// Money in whole cents: a balance or a sum of cents is exact however many amounts it adds.
using Cents = std::int64_t;

inline Cents ToCents(double amount) {
  return std::llround(amount * 100.0);
}

inline double FromCents(Cents cents) {
  return static_cast<double>(cents) / 100.0;
}

}  // namespace paylark

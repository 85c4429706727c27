#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace paylark {

// Money in whole cents: a balance or a sum of cents is exact however many amounts it adds.
using Cents = std::int64_t;

// Rounded half away from zero. An amount beyond what cents hold, or not a number, gives the
// farthest cents of its sign (not a number: negative), which every limit check refuses; its
// negation is still cents.
inline Cents ToCents(double amount) {
  constexpr double kEdge = 9.2e18;  // just inside what an int64 holds
  const double cents = amount * 100.0;
  if (!(cents > -kEdge))
    return -std::numeric_limits<Cents>::max();
  if (!(cents < kEdge))
    return std::numeric_limits<Cents>::max();
  // round() rounds as llround() does, and is the quicker of the two in glibc.
  return static_cast<Cents>(std::round(cents));
}

inline double FromCents(Cents cents) {
  return static_cast<double>(cents) / 100.0;
}

// a + b, held at the farthest cents of its sign where the sum goes beyond what cents hold: a sum
// too large to show is never shown wrapped round to the other sign. Either way it can be negated.
inline Cents AddCents(Cents a, Cents b) {
  Cents sum = 0;
  if (!__builtin_add_overflow(a, b, &sum) && sum != std::numeric_limits<Cents>::min())
    return sum;
  const Cents farthest = std::numeric_limits<Cents>::max();
  return b > 0 ? farthest : -farthest;
}

}  // namespace paylark

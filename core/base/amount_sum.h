#pragma once

#include <cmath>

namespace paylark {

// A sum of amounts added in whole cents, so a sum of many amounts or of large ones is the sum a
// user adds by hand, never a double's accumulated error.
class AmountSum {
 public:
  void Add(double amount) { cents_ += std::llround(amount * 100.0); }
  [[nodiscard]] double value() const { return static_cast<double>(cents_) / 100.0; }
  [[nodiscard]] AmountSum operator+(const AmountSum& other) const {
    AmountSum sum;
    sum.cents_ = cents_ + other.cents_;
    return sum;
  }

 private:
  long long cents_ = 0;
};

}  // namespace paylark

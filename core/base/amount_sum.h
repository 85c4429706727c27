#pragma once

#include "core/base/cents.h"

namespace paylark {

// A sum of amounts added in whole cents, so a sum of many amounts or of large ones is the sum a
// user adds by hand, never a double's accumulated error. Each addition checks for overflow: a sum
// beyond what cents hold stays at the farthest cents of its sign, never wraps to the other.
class AmountSum {
 public:
  void Add(Cents amount) { cents_ = AddCents(cents_, amount); }
  // An amount is turned into cents by the caller (ToCents), never by a silent conversion.
  void Add(double amount) = delete;
  [[nodiscard]] Cents cents() const { return cents_; }
  [[nodiscard]] AmountSum operator+(const AmountSum& other) const {
    AmountSum sum;
    sum.cents_ = AddCents(cents_, other.cents_);
    return sum;
  }

 private:
  Cents cents_ = 0;
};

}  // namespace paylark

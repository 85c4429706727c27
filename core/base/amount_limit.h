#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "core/base/cents.h"
#include "core/base/messages.h"

namespace paylark {

// The largest amount Paylark keeps, of either sign: ten trillion. A double holds each of its
// cents exactly, and a sum of a hundred thousand of them still fits in cents.
inline constexpr double kMaxAmount = 1e13;
inline constexpr Cents kMaxAmountCents = 1'000'000'000'000'000;

// Whether an amount (of either sign) is one Paylark keeps; not a number is not.
inline bool AmountWithinLimit(double amount) {
  return std::fabs(amount) <= kMaxAmount;
}
inline bool CentsWithinLimit(Cents cents) {
  return cents >= -kMaxAmountCents && cents <= kMaxAmountCents;
}

// Why an amount beyond the limit is refused; `whose` names what holds it ("row 7", "the booking
// of 2026-11-30").
inline std::string AmountBeyondLimitText(std::string_view whose) {
  return MessageText(Message{MessageId::kAmountBeyondLimit, std::string(whose), 0, {}});
}

}  // namespace paylark

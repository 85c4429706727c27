#include "core/statements/match_scoring.h"

#include <algorithm>
#include <cstdlib>

namespace paylark {

namespace {

// A hair above the exact product, so that a difference of exactly the tolerance still counts
// whatever the rounding of tolerance × amount.
double Allowed(Cents dueAmount, double tolerance) {
  return std::max(0.0, tolerance) * static_cast<double>(dueAmount) + 1e-6;
}

}  // namespace

bool AmountFits(Cents transactionAmount, const OpenDueKey& due, double tolerance) {
  if (transactionAmount == 0 || due.amount == 0 || (transactionAmount > 0) != due.income)
    return false;
  const Cents difference = std::llabs(std::llabs(transactionAmount) - due.amount);
  return static_cast<double>(difference) <= Allowed(due.amount, tolerance);
}

std::optional<double> ScoreMatch(Cents transactionAmount, std::int64_t bookingDay,
                                 const OpenDueKey& due, double nameScore,
                                 const MatchOptions& options) {
  if (transactionAmount == 0 || due.amount == 0 || (transactionAmount > 0) != due.income)
    return std::nullopt;
  const std::int64_t daysLate = bookingDay - due.day;
  if (daysLate < -options.daysBefore || daysLate > options.daysAfter)
    return std::nullopt;
  const Cents difference = std::llabs(std::llabs(transactionAmount) - due.amount);
  const double allowed = Allowed(due.amount, options.tolerance);
  if (static_cast<double>(difference) > allowed)
    return std::nullopt;
  const double amountScore =
      difference == 0 ? 1.0 : 1.0 - static_cast<double>(difference) / allowed;
  // Days count alike on both sides, so of two dues the nearer one always scores higher.
  const int widest = std::max(options.daysBefore, options.daysAfter) + 1;
  const double dateScore = 1.0 - static_cast<double>(std::llabs(daysLate)) / widest;
  return kAmountWeight * amountScore + kDateWeight * dateScore + kNameWeight * nameScore;
}

}  // namespace paylark

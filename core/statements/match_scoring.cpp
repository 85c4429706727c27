#include "core/statements/match_scoring.h"

#include <algorithm>
#include <cstdlib>

#include "core/statements/text_folding.h"

namespace paylark {

std::optional<double> ScoreMatch(const StatementTransaction& transaction, std::int64_t bookingDay,
                                 std::string_view foldedText, const OpenDue& due,
                                 const MatchOptions& options) {
  if (transaction.amount == 0 || due.amount == 0 || (transaction.amount > 0) != due.income)
    return std::nullopt;
  const std::int64_t daysLate = bookingDay - due.day;
  if (daysLate < -options.daysBefore || daysLate > options.daysAfter)
    return std::nullopt;
  const Cents difference = std::llabs(std::llabs(transaction.amount) - due.amount);
  // A hair above the exact product, so that a difference of exactly the tolerance still counts
  // whatever the rounding of tolerance × amount.
  const double allowed = std::max(0.0, options.tolerance) * static_cast<double>(due.amount) + 1e-6;
  if (static_cast<double>(difference) > allowed)
    return std::nullopt;
  const double amountScore =
      difference == 0 ? 1.0 : 1.0 - static_cast<double>(difference) / allowed;
  // Days count alike on both sides, so of two dues the nearer one always scores higher.
  const int widest = std::max(options.daysBefore, options.daysAfter) + 1;
  const double dateScore = 1.0 - static_cast<double>(std::llabs(daysLate)) / widest;
  const double nameScore = std::max(NameSimilarity(foldedText, due.foldedPayTo),
                                    NameSimilarity(foldedText, due.foldedTitle));
  return kAmountWeight * amountScore + kDateWeight * dateScore + kNameWeight * nameScore;
}

}  // namespace paylark

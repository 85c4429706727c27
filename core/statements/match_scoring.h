#pragma once

#include <optional>
#include <string_view>

#include "core/statements/open_dues.h"
#include "core/statements/statement_matching.h"

namespace paylark {

// A score at or above this makes a match sure, with evidence beyond amount and date: an exact
// amount whose counterparty names the due is sure anywhere in the window; an amount off by half
// the tolerance needs a booking within five days; one at the edge of the tolerance is never sure.
inline constexpr double kSureScore = 0.65;

// How a transaction and a due compare; the weights add up to 1.
inline constexpr double kAmountWeight = 0.45;
inline constexpr double kDateWeight = 0.25;
inline constexpr double kNameWeight = 0.30;

// Whether the booking's amount can have paid a due of this amount and direction: the cheap first
// test of a pair.
bool AmountFits(Cents transactionAmount, const OpenDueKey& due, double tolerance);

// The score from 0 to 1 with which the transaction may have paid the due, or nothing when it
// cannot have: a debit pays a bill and a credit is an income received, the booking lies from
// daysBefore before to daysAfter after the due date, and the amount differs by at most the
// tolerance's share of the due's. nameScore is how well the booking's counterparty and memo name
// the due (NameSimilarity, the better of pay-to and title); evidence other than the name counts
// as a full name.
std::optional<double> ScoreMatch(Cents transactionAmount, std::int64_t bookingDay,
                                 const OpenDueKey& due, double nameScore,
                                 const MatchOptions& options);

}  // namespace paylark

#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/base/cents.h"

namespace paylark {

// What the forecast counts for an unpaid member of a series whose paid amounts vary.
enum class Estimate {
  kAmount,    // the due's own amount: no estimate
  kLastPaid,  // what the latest paid member cost
  kMedian,    // the median of the last six paid members
  kHighest,   // the highest of the last six
};
inline constexpr Estimate kDefaultEstimate = Estimate::kMedian;
// How many of the latest paid members the median and the highest look at.
inline constexpr std::size_t kEstimateWindow = 6;

// "amount", "last", "median", "highest": the setting's and the command line's words.
std::string_view EstimateName(Estimate estimate);
// The estimate so named, in any letter case; the default for any other word.
Estimate EstimateNamed(std::string_view name);

// The estimate from what the series' paid members cost, oldest due first. Empty for kAmount or
// when nothing was paid. A median of an even count is the mean of the middle two, a half cent
// rounded away from zero.
std::optional<Cents> EstimateFrom(std::span<const Cents> paidOldestFirst, Estimate estimate);

}  // namespace paylark

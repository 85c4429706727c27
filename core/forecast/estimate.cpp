#include "core/forecast/estimate.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

namespace paylark {
namespace {

constexpr std::array<Estimate, 4> kEstimates = {Estimate::kAmount, Estimate::kLastPaid,
                                                Estimate::kMedian, Estimate::kHighest};

Cents Median(std::vector<Cents> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  if (values.size() % 2 == 1)
    return values[middle];
  const Cents sum = values[middle - 1] + values[middle];
  return sum >= 0 ? (sum + 1) / 2 : (sum - 1) / 2;
}

}  // namespace

std::string_view EstimateName(Estimate estimate) {
  switch (estimate) {
    case Estimate::kAmount:
      return "amount";
    case Estimate::kLastPaid:
      return "last";
    case Estimate::kMedian:
      return "median";
    case Estimate::kHighest:
      return "highest";
  }
  return "median";
}

Estimate EstimateNamed(std::string_view name) {
  std::string lower;
  for (const char c : name)
    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const Estimate estimate : kEstimates) {
    if (EstimateName(estimate) == lower)
      return estimate;
  }
  return kDefaultEstimate;
}

std::optional<Cents> EstimateFrom(std::span<const Cents> paidOldestFirst, Estimate estimate) {
  if (estimate == Estimate::kAmount || paidOldestFirst.empty())
    return std::nullopt;
  if (estimate == Estimate::kLastPaid)
    return paidOldestFirst.back();
  const std::size_t count = std::min(paidOldestFirst.size(), kEstimateWindow);
  const std::vector<Cents> latest(paidOldestFirst.end() - static_cast<std::ptrdiff_t>(count),
                                  paidOldestFirst.end());
  if (estimate == Estimate::kHighest)
    return *std::max_element(latest.begin(), latest.end());
  return Median(latest);
}

}  // namespace paylark

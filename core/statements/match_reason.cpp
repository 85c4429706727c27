#include "core/statements/match_reason.h"

#include <cstdio>
#include <cstdlib>

namespace paylark {
namespace {

constexpr const char* kSeparator = " \u00b7 ";

std::string AmountPart(const MatchReason& reason) {
  if (reason.amountDifference == 0)
    return "amount exact";
  char percent[32];
  std::snprintf(percent, sizeof percent, "%.1f",
                100.0 * static_cast<double>(std::llabs(reason.amountDifference)) /
                    static_cast<double>(reason.dueAmount));
  return std::string("amount ") + percent + "% " + (reason.amountDifference > 0 ? "more" : "less");
}

std::string DatePart(std::int64_t daysLate) {
  if (daysLate == 0)
    return "on the due date";
  const std::int64_t days = std::llabs(daysLate);
  return std::to_string(days) + (days == 1 ? " day " : " days ") +
         (daysLate > 0 ? "late" : "early");
}

std::string EvidencePart(const MatchReason& reason) {
  switch (reason.evidence) {
    case MatchEvidence::kNone:
      return "no name in common";
    case MatchEvidence::kName:
      return "the counterparty names the due";
    case MatchEvidence::kSeriesPayer:
      return reason.payer.empty() ? std::string("its account paid this series before")
                                  : reason.payer + " paid this series before";
    case MatchEvidence::kPayeeAccount:
      return "paid to the bill's IBAN";
    case MatchEvidence::kCreditorReference:
      return "carries the bill's reference";
  }
  return {};
}

}  // namespace

std::string MatchReasonText(const MatchReason& reason) {
  // An amount in another currency cannot be compared with the due's.
  const bool foreign = !reason.currency.empty();
  std::string text = (foreign ? std::string() : AmountPart(reason) + kSeparator) +
                     DatePart(reason.daysLate) + kSeparator + EvidencePart(reason);
  if (foreign)
    text += std::string(kSeparator) + "in " + reason.currency + ", not the statement's currency";
  return text;
}

}  // namespace paylark

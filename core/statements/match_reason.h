#pragma once

#include <cstdint>
#include <string>

#include "core/base/cents.h"

namespace paylark {

// What besides amount and date says that a transaction paid a due, strongest last.
enum class MatchEvidence {
  kNone,               // amount and date alone: a possible match at most
  kName,               // the counterparty or memo names the due's pay-to or title
  kSeriesPayer,        // the counterparty (or its account) paid an earlier member of the series
  kPayeeAccount,       // the transaction goes to the IBAN the bill names
  kCreditorReference,  // the transaction carries the reference the bill asks for
};

// Why a transaction and a due were paired, as the preview and the command line say it.
struct MatchReason {
  Cents amountDifference = 0;  // the booking's amount less the due's, by size
  Cents dueAmount = 0;
  std::int64_t daysLate = 0;  // negative: booked before the due date
  MatchEvidence evidence = MatchEvidence::kNone;
  std::string payer;     // with kSeriesPayer: the counterparty as the bank wrote it before
  std::string currency;  // the transaction's own currency where it is not the statement's

  bool operator==(const MatchReason&) const = default;
};

// "amount exact · 1 day late · STADTWERKE GMBH paid this series before".
std::string MatchReasonText(const MatchReason& reason);

}  // namespace paylark

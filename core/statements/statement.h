#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/cents.h"
#include "core/base/ole_date_time.h"

namespace paylark {

// One booking on a bank statement.
struct StatementTransaction {
  // The bank's own ID where it gives one (OFX FITID; CAMT AcctSvcrRef, else EndToEndId); for bank
  // CSV a hash of the row's fields and its occurrence number, so that the same row in a later,
  // overlapping statement has the same ID. Stored as a paid due's payment reference.
  std::string id;
  OleDateTime bookingDate;  // 00:00 of the booking day
  Cents amount = 0;         // signed: money out (a debit) is negative
  std::string counterparty;
  std::string memo;

  bool operator==(const StatementTransaction&) const = default;
};

struct StatementBalance {
  OleDateTime date;
  Cents amount = 0;

  bool operator==(const StatementBalance&) const = default;
};

// A bank statement as its reader understood it, whatever its format.
struct Statement {
  std::string account;  // the account's name or number as the statement gives it; may be empty
  std::optional<OleDateTime> periodStart;
  std::optional<OleDateTime> periodEnd;
  std::optional<StatementBalance> closingBalance;
  std::vector<StatementTransaction> transactions;  // in the statement's order
};

}  // namespace paylark

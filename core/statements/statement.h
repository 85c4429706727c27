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
  std::string counterpartyAccount;  // the other party's IBAN or account number, where given
  std::string creditorReference;    // a structured reference the payer gave (RF, QR), where given
  // The transaction's own currency where it is not the statement's; empty when it is.
  std::string currency;

  bool operator==(const StatementTransaction&) const = default;
};

struct StatementBalance {
  OleDateTime date;
  Cents amount = 0;

  bool operator==(const StatementBalance&) const = default;
};

// A bank statement as its reader understood it, whatever its format.
struct Statement {
  // The bank's own ID of the account (IBAN, OFX bank and account number); empty in a bank CSV.
  std::string bankAccount;
  // The Paylark account the statement is imported to: the dues it is matched against and the
  // balance entry's account. Readers leave it empty; the account link or the user chooses it.
  std::string account;
  std::string currency;  // ISO 4217, where the statement says
  std::optional<OleDateTime> periodStart;
  std::optional<OleDateTime> periodEnd;
  std::optional<StatementBalance> closingBalance;
  std::vector<StatementTransaction> transactions;  // in the statement's order
};

}  // namespace paylark

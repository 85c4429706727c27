#pragma once

#include <string>

#include "core/base/ole_date_time.h"

namespace paylark {

// "The balance of <account> was <amount> on <date>": what the user (or a bank statement) said an
// account held at one moment. Entries are written once and never changed; the newest of an
// account counts.
struct BalanceEntry {
  std::string entryId;
  std::string account;  // as the user typed it; compared by AccountKey
  OleDateTime date;
  double amount = 0.0;
  std::string source;  // where the figure came from: empty when typed, else the statement's name
  // The bank's own ID of the account (IBAN, OFX bank and account number) when a statement gave
  // the figure: the newest entry carrying an ID links that bank account to `account`.
  std::string bankAccount;

  bool operator==(const BalanceEntry&) const = default;
};

}  // namespace paylark

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/statements/statement.h"

namespace paylark {

// The bookings of one counterparty in one direction on one account.
struct BookingGroup {
  std::string account;          // the Paylark account of its statements
  std::string counterpartyKey;  // what grouped it: CounterpartyKey of its bookings
  std::string nameKey;          // "name <key>" of its counterparty's name, or empty
  std::int64_t historyEnd = 0;  // the last day (DayNumber) its account's statements cover
  std::vector<const StatementTransaction*> bookings;  // in date order
};

// Groups the statements' bookings by account (the Paylark account and the bank's), direction and
// counterparty. A booking in two overlapping statements counts once; bookings without a date, of
// no amount, in another currency than their statement's or without a counterparty are left out.
// The groups point into the statements, which must outlive them.
std::vector<BookingGroup> GroupBookings(const std::vector<Statement>& statements);

}  // namespace paylark

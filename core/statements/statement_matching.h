#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/records/due_map.h"
#include "core/statements/match_reason.h"
#include "core/statements/statement.h"

namespace paylark {

// The matching windows and tolerance; the user's settings give them.
struct MatchOptions {
  int daysBefore = 4;        // a booking this many days before the due date still matches
  int daysAfter = 10;        // and this many after
  double tolerance = 0.075;  // the amount may differ by this share of the due's amount
};

struct StatementMatch {
  std::size_t transaction = 0;  // index into Statement::transactions
  std::string recordId;
  double score = 0.0;  // 0 to 1
  // Sure matches are checked in the preview; possible ones are not. Sure needs evidence beyond
  // amount and date, and a transaction in the statement's own currency.
  bool sure = false;
  MatchReason reason;
  // A debit below what is left of the due, from its counterparty: a part of it, never sure.
  bool part = false;

  bool operator==(const StatementMatch&) const = default;
};

// What a statement would do to the dues: nothing is written.
struct StatementMatching {
  std::vector<StatementMatch> matches;  // one to one, best score first
  std::vector<std::size_t> unmatched;   // transactions that match no due
  // Transactions whose ID is already some due's payment reference: never matched again.
  std::vector<std::size_t> alreadyImported;
  std::vector<std::string> stillUnpaid;  // unpaid dues of the statement's period left unmatched
  // The statement names an account no due names, so dues without an account were matched.
  bool accountNamedByNoDue = false;
};

StatementMatching MatchStatement(const Statement& statement, const DueMap& dues,
                                 const MatchOptions& options);

}  // namespace paylark

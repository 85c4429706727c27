#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/base/cents.h"
#include "core/base/ole_date_time.h"
#include "core/records/due_map.h"

namespace paylark {

// Whole days since 1899-12-30 on a straight time line: the day a date-time falls on.
std::int64_t DayNumber(const OleDateTime& dateTime);

// An unpaid due a statement may pay, with what matching compares.
struct OpenDue {
  std::string recordId;
  OleDateTime dueDate;
  std::int64_t seconds = 0;  // LinearSeconds of the due date
  std::int64_t day = 0;
  Cents amount = 0;  // what is left to pay, never negative
  bool income = false;
  // The pay-to and the title, folded for matching: positions in OpenDues::names().
  std::uint32_t payTo = 0;
  std::uint32_t title = 0;
  // 1 + the position in OpenDues::payers() of those who paid earlier members of its series; 0 when
  // none is known.
  std::uint32_t payers = 0;
  std::string payeeAccount;  // CompactAccountId of the bill's own IBAN
  std::string creditorReference;
};

// Who paid the members of one series before, as statements named them.
struct SeriesPayers {
  std::vector<std::string> names;        // as the bank wrote them
  std::vector<std::string> foldedNames;  // FoldForMatching of each
  std::vector<std::string> accounts;     // CompactAccountId of each account given
};

// An IBAN or account number as compared: without blanks, in capitals.
std::string CompactAccountId(std::string_view account);

// What the scan of a booking's window looks at first, kept apart from the names so that the
// scan reads little memory.
struct OpenDueKey {
  std::int64_t day = 0;
  Cents amount = 0;
  bool income = false;
};

// The unpaid dues of one account, sorted by due date (ties in map order), and every payment
// reference any due carries. Dues of an account are those whose AccountKey is the statement's;
// when no due names the statement's account, or the statement names none, it is the dues without
// an account, or every due when the statement names no account.
class OpenDues {
 public:
  OpenDues(const DueMap& dues, const std::string& statementAccount);

  const std::vector<OpenDue>& dues() const { return dues_; }
  // The folded pay-tos and titles of the dues, each text once: many dues share a payee.
  const std::vector<std::string>& names() const { return names_; }
  // keys()[i] is that of dues()[i].
  const std::vector<OpenDueKey>& keys() const { return keys_; }
  const std::vector<SeriesPayers>& payers() const { return payers_; }
  // The statement's account is named by no due, so the dues without an account were taken.
  bool accountNamedByNoDue() const { return accountNamedByNoDue_; }
  bool IsPaymentReference(const std::string& id) const { return references_.contains(id); }
  // The positions in dues() of the dues whose day lies from first to last.
  std::pair<std::size_t, std::size_t> DaysFromTo(std::int64_t first, std::int64_t last) const;

 private:
  std::vector<OpenDue> dues_;
  std::vector<OpenDueKey> keys_;
  std::vector<std::string> names_;
  std::vector<SeriesPayers> payers_;
  std::unordered_set<std::string> references_;
  bool accountNamedByNoDue_ = false;
};

}  // namespace paylark

#pragma once

#include <optional>
#include <string>

#include "core/base/ole_date_time.h"
#include "core/records/due_record.h"

namespace paylark {

// What the user says about a payment; what is left out takes its default.
struct Payment {
  std::optional<OleDateTime> on;  // default: now
  std::optional<double> amount;   // default: the due's amount
  std::string reference;          // default: none
  std::string counterparty;       // the other party, as a bank statement names it
  std::string counterpartyAccount;
};

// Marks the due paid with the payment's details.
void MarkPaid(DueRecord& record, const OleDateTime& now, const Payment& payment = {});

// Marks the due unpaid; an unpaid due has no payment details.
void MarkUnpaid(DueRecord& record);

// Keeps an edited due's payment details in step with its paid flag: a due that became paid gets
// the default details, one that became unpaid loses them, and one whose flag stayed keeps what it
// has. For editors that change the flag alone (a check box, --paid).
void SettlePayment(DueRecord& edited, const DueRecord& stored, const OleDateTime& now);

}  // namespace paylark

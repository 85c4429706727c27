#pragma once

#include <optional>
#include <string>

#include "core/base/cents.h"
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

// Marks the due paid with the payment's details, in place of any it had.
void MarkPaid(DueRecord& record, const OleDateTime& now, const Payment& payment = {});

// What a payment did to a due.
struct PaymentOutcome {
  bool paid = false;  // the due is paid now
  Cents excess = 0;   // what the payment went beyond what was left; never negative
};

// Pays the due as a user pays a bill: on an unpaid due, an amount below what is left is a part
// and the due stays unpaid; a payment reaching what is left makes it paid, the excess kept in
// the part and told in the outcome; no amount pays what is left. A paid due, or an unpaid one
// without parts and without an amount given, is marked paid as MarkPaid does.
PaymentOutcome Pay(DueRecord& record, const OleDateTime& now, const Payment& payment);

// Adds the payment as the due's next part and marks it paid: a statement that paid the rest.
void PayRest(DueRecord& record, const OleDateTime& now, const Payment& payment);

// "0.50 more than the amount", the excess as the list shows amounts.
std::string ExcessText(Cents excess);

// What the Paid sums count of a due: what was paid, in every part. The Unpaid sums count
// LeftCents.
Cents PaidShare(const DueRecord& record);
// "40.00 of 100.00 paid" for a partly paid due, amounts as the list shows them.
std::string PartsPaidText(const DueRecord& record);
// The due's status as lists and documents say it: "Paid", "Unpaid", or the parts paid.
std::string StatusText(const DueRecord& record);

// Marks the due unpaid; an unpaid due has no payments.
void MarkUnpaid(DueRecord& record);

// Keeps an edited due's payment details in step with its paid flag: a due that became paid gets
// the default details (a partly paid one: what is left as its last part), one that became unpaid
// loses them, and one whose flag stayed keeps what it has. For editors that change the flag alone
// (a check box, --paid).
void SettlePayment(DueRecord& edited, const DueRecord& stored, const OleDateTime& now);

}  // namespace paylark

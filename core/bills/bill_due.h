#pragma once

#include <string>
#include <vector>

#include "core/base/ole_date_time.h"
#include "core/bills/bill.h"
#include "core/records/due_record.h"

namespace paylark {

// What a due made from a bill needs besides the bill.
struct BillDueOptions {
  OleDateTime today;
  int daysToPay = 14;           // a bill without a due date falls due this many days from today
  std::string defaultCurrency;  // ISO 4217; empty: no currency is expected
};

struct BillDue {
  DueRecord record;
  // "Amount, IBAN and reference from the payment code; due date not on the bill: set to 21 Dec
  // 2026": what the user should check, in one line. Empty when nothing was found.
  std::string summary;
  std::vector<std::string> warnings;  // the bill's, then this step's own
};

// The due `base` with the bill's fields laid over it: pay-to, title ("<seller> <invoice
// number>"), due date (else today plus the days to pay), amount, payee IBAN, reference, and the
// invoice's number, date and terms or the code's text in the notes. A bill in another currency
// than the default keeps its amount as written and says so.
BillDue DueFromBill(const Bill& bill, DueRecord base, const BillDueOptions& options);

}  // namespace paylark

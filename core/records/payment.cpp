#include "core/records/payment.h"

namespace paylark {

void MarkPaid(DueRecord& record, const OleDateTime& now, const Payment& payment) {
  record.paid = 1;
  record.paidOn = payment.on.value_or(now);
  record.paidAmount = payment.amount.value_or(record.amount);
  record.paymentReference = payment.reference;
  record.paymentCounterparty = payment.counterparty;
  record.paymentCounterpartyAccount = payment.counterpartyAccount;
}

void MarkUnpaid(DueRecord& record) {
  record.paid = 0;
  record.paidOn.reset();
  record.paidAmount.reset();
  record.paymentReference.clear();
  record.paymentCounterparty.clear();
  record.paymentCounterpartyAccount.clear();
}

void SettlePayment(DueRecord& edited, const DueRecord& stored, const OleDateTime& now) {
  if (!IsPaid(edited))
    MarkUnpaid(edited);
  else if (!IsPaid(stored))
    MarkPaid(edited, now);
}

}  // namespace paylark

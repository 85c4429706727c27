#include "core/records/payment.h"

#include "core/base/format.h"

namespace paylark {
namespace {

bool HasFirstPayment(const DueRecord& record) {
  return record.paidOn || record.paidAmount || !record.paymentReference.empty();
}

// Keeps the payment as the due's next part, paid on `now` unless it says when.
void AddPart(DueRecord& record, const OleDateTime& now, const Payment& payment, double amount) {
  if (!HasFirstPayment(record)) {
    record.paidOn = payment.on.value_or(now);
    record.paidAmount = amount;
    record.paymentReference = payment.reference;
    record.paymentCounterparty = payment.counterparty;
    record.paymentCounterpartyAccount = payment.counterpartyAccount;
    return;
  }
  record.laterParts.push_back({payment.on.value_or(now), amount, payment.reference,
                               payment.counterparty, payment.counterpartyAccount});
}

}  // namespace

void MarkPaid(DueRecord& record, const OleDateTime& now, const Payment& payment) {
  MarkUnpaid(record);
  record.paid = 1;
  record.paidOn = payment.on.value_or(now);
  record.paidAmount = payment.amount.value_or(record.amount);
  record.paymentReference = payment.reference;
  record.paymentCounterparty = payment.counterparty;
  record.paymentCounterpartyAccount = payment.counterpartyAccount;
}

PaymentOutcome Pay(DueRecord& record, const OleDateTime& now, const Payment& payment) {
  if (IsPaid(record) || (!HasFirstPayment(record) && !payment.amount)) {
    MarkPaid(record, now, payment);
    return {true, 0};
  }
  const Cents left = LeftCents(record);
  const Cents given = payment.amount ? ToCents(*payment.amount) : left;
  AddPart(record, now, payment, payment.amount.value_or(FromCents(left)));
  // A refund due has a negative amount: "reaching" it is going as far below zero.
  const bool reaches = left >= 0 ? given >= left : given <= left;
  if (!reaches)
    return {false, 0};
  record.paid = 1;
  const Cents excess = AddCents(given, -left);
  return {true, excess < 0 ? -excess : excess};
}

void PayRest(DueRecord& record, const OleDateTime& now, const Payment& payment) {
  AddPart(record, now, payment, payment.amount.value_or(FromCents(LeftCents(record))));
  record.paid = 1;
}

std::string ExcessText(Cents excess) {
  return FormatAmount(FromCents(excess)) + " more than the amount";
}

Cents PaidShare(const DueRecord& record) {
  return IsPaid(record) ? ToCents(PaidOrDueAmount(record)) : PaidCents(record);
}

std::string PartsPaidText(const DueRecord& record) {
  return FormatAmount(FromCents(PaidCents(record))) + " of " + FormatAmount(record.amount) +
         " paid";
}

std::string StatusText(const DueRecord& record) {
  return IsPartlyPaid(record) ? PartsPaidText(record) : std::string(PaidText(record.paid));
}

void MarkUnpaid(DueRecord& record) {
  record.paid = 0;
  record.paidOn.reset();
  record.paidAmount.reset();
  record.paymentReference.clear();
  record.paymentCounterparty.clear();
  record.paymentCounterpartyAccount.clear();
  record.laterParts.clear();
}

void SettlePayment(DueRecord& edited, const DueRecord& stored, const OleDateTime& now) {
  if (!IsPaid(edited)) {
    if (IsPaid(stored))
      MarkUnpaid(edited);
  } else if (!IsPaid(stored)) {
    edited.paid = 0;
    Pay(edited, now, {});
  }
}

}  // namespace paylark

#include "core/records/due_record.h"

namespace paylark {

DueRecord DueRecord::WithDefaults(const Clock& clock) {
  DueRecord record;
  record.startDate = clock.Now();
  record.dueDate = clock.Now();
  return record;
}

void ApplyEditorDefaults(DueRecord& record) {
  if (record.title.empty())
    record.title = "No Title";
  if (record.payTo.empty())
    record.payTo = "Someone";
}

Cents PaidCents(const DueRecord& record) {
  const bool wholeWithoutAmount = record.paid != 0 && record.laterParts.empty();
  Cents sum = 0;
  if (record.paidAmount)
    sum = ToCents(*record.paidAmount);
  else if (wholeWithoutAmount)
    sum = ToCents(record.amount);
  for (const PaymentPart& part : record.laterParts)
    sum = AddCents(sum, ToCents(part.amount.value_or(0.0)));
  return sum;
}

Cents LeftCents(const DueRecord& record) {
  if (record.paid != 0)
    return 0;
  const Cents amount = ToCents(record.amount);
  const Cents left = AddCents(amount, -PaidCents(record));
  // A part beyond the amount leaves nothing, whichever sign the amount has.
  return (amount >= 0) == (left >= 0) ? left : 0;
}

std::string_view TypeText(std::int32_t type) {
  if (type == kTypePersonal)
    return "Personal";
  return type == kTypeIncome ? "Income" : "Business";
}

std::string_view PaidText(std::int32_t paid) {
  return paid != 0 ? "Paid" : "Unpaid";
}

}  // namespace paylark

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

std::string_view TypeText(std::int32_t type) {
  if (type == kTypePersonal)
    return "Personal";
  return type == kTypeIncome ? "Income" : "Business";
}

std::string_view PaidText(std::int32_t paid) {
  return paid != 0 ? "Paid" : "Unpaid";
}

}  // namespace paylark

#include "core/records/due_state.h"

namespace paylark {

DueState StateOf(const DueRecord& record, const OleDateTime& now) {
  if (IsPaid(record))
    return DueState::kPaid;
  const OleDateTime day = record.dueDate.DateOnly();
  const OleDateTime today = now.DateOnly();
  if (day < today)
    return DueState::kOverdue;
  if (day == today)
    return DueState::kToday;
  return DueState::kLater;
}

}  // namespace paylark

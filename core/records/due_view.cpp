#include "core/records/due_view.h"

namespace paylark {

DueView ViewOf(const DueRecord& record) {
  return {record.recordId, record.title,   record.startDate, record.dueDate,
          record.payTo,    record.account, record.amount,    record.type,
          record.paid,     record.notes,   record.seriesId};
}

// A view may point into the record it is copied to: assign handles a source inside the string.
void AssignFields(const DueView& view, DueRecord& record) {
  record.recordId.assign(view.recordId);
  record.title.assign(view.title);
  record.startDate = view.startDate;
  record.dueDate = view.dueDate;
  record.payTo.assign(view.payTo);
  record.account.assign(view.account);
  record.amount = view.amount;
  record.type = view.type;
  record.paid = view.paid;
  record.notes.assign(view.notes);
  record.seriesId.assign(view.seriesId);
}

}  // namespace paylark

#include "ui/editor/mark_paid_command.h"

#include "core/base/messages.h"
#include "ui/base/paylark_app.h"
#include "ui/base/wait_cursor.h"
#include "ui/editor/mark_paid_dialog.h"

namespace paylark {

EditOutcome MarkDuePaid(PaylarkApp& app, QWidget* parent, const std::string& recordId,
                        const DialogRunner& runner) {
  if (!app.store().records().Contains(recordId))
    return EditOutcome::kNothingChanged;
  DueRecord record = app.store().Get(recordId);
  MarkPaidDialog dialog(record, app.clock().Now(), app.prompt(), parent);
  if (runner(dialog) != QDialog::Accepted)
    return EditOutcome::kNothingChanged;
  MarkPaid(record, app.clock().Now(), dialog.payment());
  Status status = Status::Ok();
  {
    WaitCursor wait;
    status = app.store().Replace(record);
  }
  if (!status.ok()) {
    app.prompt().Tell(parent,
                      QString::fromStdString(MessageText(
                          {MessageId::kRecordWriteFailed, record.title, 0, status.message()})),
                      PromptIcon::kWarning);
  }
  return EditOutcome::kRecordsChanged;
}

}  // namespace paylark

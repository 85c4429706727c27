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
  // A part may reach the amount, or go beyond it: the excess is kept and said.
  Cents excess = 0;
  if (dialog.inPart())
    excess = Pay(record, app.clock().Now(), dialog.payment()).excess;
  else if (IsPartlyPaid(record))
    PayRest(record, app.clock().Now(), dialog.payment());
  else
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
  } else if (excess != 0) {
    app.prompt().Tell(parent, QStringLiteral("%1 is paid, %2.")
                                  .arg(QString::fromStdString(record.title),
                                       QString::fromStdString(ExcessText(excess))));
  }
  return EditOutcome::kRecordsChanged;
}

}  // namespace paylark

#include "ui/editor/modify_command.h"

#include "core/records/payment.h"
#include "core/recurrence/series_editing.h"
#include "ui/base/operation_progress.h"
#include "ui/base/paylark_app.h"
#include "ui/base/series_question.h"
#include "ui/base/wait_cursor.h"
#include "ui/editor/due_sheet.h"

namespace paylark {
namespace {

Message FailureOf(PaylarkApp& app, SeriesChoice choice, const DueRecord& edited,
                  const DueRecord& stored, const Status& status) {
  if (choice != SeriesChoice::kThisRecord && !SeriesUnchanged(edited, stored)) {
    const auto members = static_cast<long long>(MembersInScope(app.store(), stored, choice).size());
    return Message{MessageId::kRecordsWriteFailed, {}, members, status.message()};
  }
  return Message{MessageId::kRecordWriteFailed, edited.title, 0, status.message()};
}

}  // namespace

EditOutcome ModifyDue(PaylarkApp& app, QWidget* parent, const std::string& recordId,
                      const DialogRunner& runner) {
  if (!app.store().records().Contains(recordId))
    return EditOutcome::kNothingChanged;
  const DueRecord stored = app.store().Get(recordId);
  SeriesChoice choice = SeriesChoice::kThisRecord;
  if (IsSeriesMember(stored)) {
    choice = AskSeriesScope(app.prompt(), parent, CountSeriesScopes(app.store(), stored));
    if (choice == SeriesChoice::kCancel)
      return EditOutcome::kNothingChanged;
  }

  DueSheet sheet(app, SheetMode::kModify, parent, runner);
  sheet.record() = stored;
  if (!sheet.Run())
    return EditOutcome::kNothingChanged;
  // The Paid check box alone says nothing of the payment: paying takes the defaults.
  DueRecord edited = sheet.record();
  SettlePayment(edited, stored, app.clock().Now());
  // Another device may have changed the due while the sheet was open.
  DueRecord base = stored;
  if (!app.store().records().Contains(recordId) || app.store().Get(recordId) != stored) {
    const PromptAnswer answer =
        app.prompt().Ask(parent, QString::fromStdString(MessageText(MessageId::kChangedElsewhere)),
                         PromptButtons::kKeepMineTakeTheirs, PromptIcon::kWarning);
    if (answer != PromptAnswer::kYes)
      return EditOutcome::kRecordsChanged;
    if (app.store().records().Contains(recordId))
      base = app.store().Get(recordId);
  }
  Status status = Status::Ok();
  {
    WaitCursor wait;
    OperationProgress progress(parent, MessageId::kProgressSaving);
    status = ApplyModify(app.store(), choice, edited, base, progress.Reporter());
  }
  if (!status.ok()) {
    app.prompt().Tell(
        parent, QString::fromStdString(MessageText(FailureOf(app, choice, edited, stored, status))),
        PromptIcon::kWarning);
  }
  return EditOutcome::kRecordsChanged;
}

}  // namespace paylark

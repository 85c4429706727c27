#include "ui/editor/new_due_command.h"

#include "core/recurrence/new_due.h"
#include "ui/base/operation_progress.h"
#include "ui/base/paylark_app.h"
#include "ui/base/wait_cursor.h"
#include "ui/editor/due_sheet.h"

namespace paylark {
namespace {

void TellFailure(PaylarkApp& app, QWidget* parent, const Message& message) {
  app.prompt().Tell(parent, QString::fromStdString(MessageText(message)), PromptIcon::kWarning);
}

long long CountOf(const std::vector<std::string>& ids) {
  return static_cast<long long>(ids.size());
}

void AddSingleDue(PaylarkApp& app, QWidget* parent, const DueRecord& record) {
  const AddResult added = app.store().Add(record);
  if (!added.status.ok()) {
    TellFailure(app, parent,
                Message{MessageId::kRecordWriteFailed, record.title, 0, added.status.message()});
  }
}

// A series whose dates cannot be completed is not written at all; its placeholders go.
void CompleteSeries(PaylarkApp& app, QWidget* parent, const DetailsPage& page,
                    const DueRecord& record) {
  const std::vector<std::string>& ids = page.placeholderIds();
  Status status = Status::Ok();
  {
    WaitCursor wait;
    OperationProgress progress(parent, MessageId::kProgressSaving);
    status = CompletePlaceholders(app.store(), ids, record, page.offset(), progress.Reporter());
    if (status.code() == StatusCode::kInvalidArgument) {
      OperationProgress removing(parent, MessageId::kProgressDeleting);
      (void)DeletePlaceholders(app.store(), ids, removing.Reporter());
    }
  }
  if (!status.ok()) {
    TellFailure(app, parent,
                Message{MessageId::kRecordsWriteFailed, {}, CountOf(ids), status.message()});
  }
}

void RemovePlaceholders(PaylarkApp& app, QWidget* parent, const std::vector<std::string>& ids) {
  Status status = Status::Ok();
  {
    WaitCursor wait;
    OperationProgress progress(parent, MessageId::kProgressDeleting);
    status = DeletePlaceholders(app.store(), ids, progress.Reporter());
  }
  if (!status.ok()) {
    TellFailure(app, parent,
                Message{MessageId::kRecordsDeleteFailed, {}, CountOf(ids), status.message()});
  }
}

}  // namespace

EditOutcome NewDue(PaylarkApp& app, QWidget* parent, const DialogRunner& runner) {
  DueSheet sheet(app, SheetMode::kNewDue, parent, runner);
  const bool finished = sheet.Run();
  const DetailsPage& page = sheet.detailPage();
  if (finished && page.makeRecursive()) {
    CompleteSeries(app, parent, page, sheet.record());
    return EditOutcome::kRecordsChanged;
  }
  if (finished)
    AddSingleDue(app, parent, sheet.record());
  if (page.patternSet())
    RemovePlaceholders(app, parent, page.placeholderIds());
  return finished || page.patternSet() ? EditOutcome::kRecordsChanged
                                       : EditOutcome::kNothingChanged;
}

}  // namespace paylark

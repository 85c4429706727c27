#include "ui/editor/new_due_command.h"

#include <algorithm>

#include "core/recurrence/new_due.h"
#include "core/recurrence/series_generation.h"
#include "ui/base/operation_progress.h"
#include "ui/base/paylark_app.h"
#include "ui/base/wait_cursor.h"
#include "ui/editor/due_sheet.h"

namespace paylark {
namespace {

void TellFailure(PaylarkApp& app, QWidget* parent, const Message& message) {
  app.prompt().Tell(parent, QString::fromStdString(MessageText(message)), PromptIcon::kWarning);
}

std::string AddSingleDue(PaylarkApp& app, QWidget* parent, const DueRecord& record) {
  const AddResult added = app.store().Add(record);
  if (!added.status.ok()) {
    TellFailure(app, parent,
                Message{MessageId::kRecordWriteFailed, record.title, 0, added.status.message()});
    return {};
  }
  return added.recordId;
}

// The series is written in one batch at Finish. A run that fails part way takes back the dues
// it wrote, so a series is on disk whole or not at all.
std::string AddSeries(PaylarkApp& app, QWidget* parent, const DetailsPage& page,
                      const DueRecord& record) {
  SeriesResult result;
  Status removed = Status::Ok();
  {
    WaitCursor wait;
    OperationProgress progress(parent, MessageId::kProgressCreating);
    result = GenerateDues(page.pattern(), app.store(), record, page.offset(), progress.Reporter());
    if (!result.success && !result.recordIds.empty()) {
      OperationProgress removing(parent, MessageId::kProgressDeleting);
      removed = DeletePlaceholders(app.store(), result.recordIds, removing.Reporter());
    }
  }
  if (!result.success) {
    const std::string reason = result.status.ok() ? removed.message() : result.status.message();
    const auto count = static_cast<long long>(std::max<std::size_t>(result.recordIds.size(), 1));
    TellFailure(app, parent, Message{MessageId::kRecordsWriteFailed, {}, count, reason});
    return {};
  }
  return result.recordIds.empty() ? std::string() : result.recordIds.front();
}

}  // namespace

EditOutcome NewDue(PaylarkApp& app, QWidget* parent, const DialogRunner& runner) {
  return NewDueFrom(app, parent, {}, runner).outcome;
}

NewDueEnd NewDueFrom(PaylarkApp& app, QWidget* parent, const NewDueStart& start,
                     const DialogRunner& runner) {
  DueSheet sheet(app, SheetMode::kNewDue, parent, runner);
  if (start.record)
    sheet.record() = *start.record;
  sheet.detailPage().ShowNote(start.note);
  const bool finished = sheet.Run();
  const DetailsPage& page = sheet.detailPage();
  if (!finished)
    return {};
  const std::string recordId = page.makeRecursive() ? AddSeries(app, parent, page, sheet.record())
                                                    : AddSingleDue(app, parent, sheet.record());
  return {EditOutcome::kRecordsChanged, recordId};
}

}  // namespace paylark

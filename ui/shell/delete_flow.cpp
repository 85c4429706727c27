#include "ui/shell/delete_flow.h"

#include "core/attachments/attachment_removal.h"
#include "core/base/messages.h"
#include "core/sync/backups.h"
#include "ui/base/operation_progress.h"
#include "ui/base/paylark_app.h"
#include "ui/base/series_question.h"
#include "ui/base/wait_cursor.h"

namespace paylark {
namespace {

QString Text(MessageId id) {
  return QString::fromStdString(MessageText(id));
}

// A whole-series deletion stops at the first member (in map order) whose file could not be
// removed: that member is the first one still in the store.
std::string FirstRemainingTitle(PaylarkApp& app, const DueRecord& record) {
  const std::vector<std::string> left = app.store().records().SeriesMembers(record.seriesId);
  return left.empty() ? record.title : app.store().Get(left.front()).title;
}

}  // namespace

void DeleteDue(PaylarkApp& app, QWidget* parent, const DueRecord& record) {
  SeriesChoice choice = SeriesChoice::kThisRecord;
  if (!IsSeriesMember(record)) {
    if (app.prompt().Ask(parent, Text(MessageId::kConfirmDelete), PromptButtons::kYesNo) !=
        PromptAnswer::kYes) {
      return;
    }
  } else {
    choice = AskSeriesQuestion(app.prompt(), parent, MessageId::kConfirmDeleteSeries);
  }
  DeleteOutcome outcome;
  {
    WaitCursor wait;
    OperationProgress progress(parent, MessageId::kProgressDeleting);
    outcome = DeleteWithAttachments(app.store(), choice, record,
                                    BackupsFolder(app.workingDirectory()), progress.Reporter());
  }
  const Status& status = outcome.deleted;
  if (status.ok() && !outcome.attachmentsMoved.ok()) {
    app.prompt().Tell(parent,
                      QString::fromStdString(
                          MessageText(Message{MessageId::kAttachmentsKeptAfterDelete, record.title,
                                              0, outcome.attachmentsMoved.message()})),
                      PromptIcon::kWarning);
  }
  if (status.ok())
    return;
  const std::string failedTitle =
      choice == SeriesChoice::kWholeSeries ? FirstRemainingTitle(app, record) : record.title;
  app.prompt().Tell(parent,
                    QString::fromStdString(MessageText(
                        Message{MessageId::kRecordDeleteFailed, failedTitle, 0, status.message()})),
                    PromptIcon::kWarning);
}

}  // namespace paylark

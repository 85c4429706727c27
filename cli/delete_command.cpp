#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "core/attachments/attachment_removal.h"
#include "core/sync/backups.h"

namespace paylark::cli {

int RunDelete(Arguments& arguments, CommandContext& context) {
  const bool wholeSeries = arguments.TakeFlag("--whole-series");
  const DueArgument due = TakeDueArgument("delete", arguments, context);
  if (!due.id)
    return due.exitCode;
  const std::string& id = *due.id;
  const DeleteOutcome outcome = DeleteWithAttachments(
      context.store, wholeSeries ? SeriesChoice::kWholeSeries : SeriesChoice::kThisRecord,
      context.store.Get(id), BackupsFolder(context.store.workingDirectory()));
  const Status& status = outcome.deleted;
  if (!status.ok()) {
    return Fail(context, kExitFailed,
                "the due " + id + " could not be deleted: " + status.message());
  }
  if (!outcome.attachmentsMoved.ok()) {
    return Fail(context, kExitFailed,
                "the due " + id + " was deleted, but an attachment stays in the records folder: " +
                    outcome.attachmentsMoved.message());
  }
  return kExitSuccess;
}

}  // namespace paylark::cli

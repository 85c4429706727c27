#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "core/recurrence/series_editing.h"

namespace paylark::cli {

int RunDelete(Arguments& arguments, CommandContext& context) {
  const bool wholeSeries = arguments.TakeFlag("--whole-series");
  const DueArgument due = TakeDueArgument("delete", arguments, context);
  if (!due.id)
    return due.exitCode;
  const std::string& id = *due.id;
  const Status status = ApplyDelete(
      context.store, wholeSeries ? SeriesChoice::kWholeSeries : SeriesChoice::kThisRecord,
      context.store.Get(id));
  if (!status.ok()) {
    return Fail(context, kExitFailed,
                "the due " + id + " could not be deleted: " + status.message());
  }
  return kExitSuccess;
}

}  // namespace paylark::cli

#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/record_fields.h"
#include "core/recurrence/series_editing.h"

namespace paylark::cli {

int RunModify(Arguments& arguments, CommandContext& context) {
  const SeriesChoice choice =
      arguments.TakeFlag("--whole-series") ? SeriesChoice::kWholeSeries : SeriesChoice::kThisRecord;
  const auto id = arguments.TakePositional();
  if (!id)
    return UsageError(context, "modify needs a record ID");
  if (!context.store.Contains(*id))
    return Fail(context, kExitFailed, "no due has the record ID \"" + *id + "\"");
  const DueRecord stored = context.store.Get(*id);
  DueRecord edited = stored;
  if (auto problem = TakeRecordFields(arguments, edited))
    return UsageError(context, *problem);
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  ApplyEditorDefaults(edited);
  const Status status = ApplyModify(context.store, choice, edited, stored);
  if (!status.ok()) {
    return Fail(context, kExitFailed,
                "the due " + *id + " could not be saved: " + status.message());
  }
  return kExitSuccess;
}

}  // namespace paylark::cli

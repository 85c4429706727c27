#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/record_fields.h"
#include "core/records/payment.h"
#include "core/recurrence/series_editing.h"

namespace paylark::cli {

int RunModify(Arguments& arguments, CommandContext& context) {
  const bool wholeSeries = arguments.TakeFlag("--whole-series");
  const bool fromHere = arguments.TakeFlag("--from-here");
  if (wholeSeries && fromHere)
    return UsageError(context, "--whole-series and --from-here cannot be combined");
  SeriesChoice choice = SeriesChoice::kThisRecord;
  if (wholeSeries)
    choice = SeriesChoice::kWholeSeries;
  else if (fromHere)
    choice = SeriesChoice::kThisAndLater;
  // The fields are taken (on a copy, onto a blank record) before the ID, so that an option's
  // value is never read as the ID and every argument is checked before anything is looked up.
  Arguments checked = arguments;
  DueRecord blank;
  if (auto problem = TakeRecordFields(checked, blank))
    return UsageError(context, *problem);
  const DueArgument due = TakeDueArgument("modify", checked, context);
  if (!due.id)
    return due.exitCode;
  const std::string& id = *due.id;
  const DueRecord stored = context.store.Get(id);
  DueRecord edited = stored;
  (void)TakeRecordFields(arguments, edited);
  ApplyEditorDefaults(edited);
  SettlePayment(edited, stored, context.clock.Now());
  const Status status = ApplyModify(context.store, choice, edited, stored);
  if (!status.ok()) {
    return Fail(context, kExitFailed, "the due " + id + " could not be saved: " + status.message());
  }
  return kExitSuccess;
}

}  // namespace paylark::cli

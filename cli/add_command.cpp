#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/record_fields.h"

namespace paylark::cli {

int RunAdd(Arguments& arguments, CommandContext& context) {
  if (const auto bill = arguments.TakeValue("--from-bill"))
    return RunAddFromBill(*bill, arguments, context);
  DueRecord record = DueRecord::WithDefaults(context.clock);
  if (auto problem = TakeRecordFields(arguments, record))
    return UsageError(context, *problem);
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  ApplyEditorDefaults(record);
  const AddResult added = context.store.Add(std::move(record));
  if (!added.status.ok()) {
    return Fail(context, kExitFailed,
                "the due " + added.recordId + " could not be saved: " + added.status.message());
  }
  context.out << added.recordId << '\n';
  return kExitSuccess;
}

}  // namespace paylark::cli

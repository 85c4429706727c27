#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "core/base/messages.h"
#include "core/exchange/csv_import.h"

namespace paylark::cli {

int RunImport(Arguments& arguments, CommandContext& context) {
  const bool dryRun = arguments.TakeFlag("--dry-run");
  const std::optional<std::string> format = arguments.TakePositional();
  if (format == "statement")
    return RunImportStatement(arguments, context, dryRun);
  const std::optional<std::string> path = arguments.TakePositional();
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  if (format != "csv" || !path)
    return UsageError(context,
                      "import needs a format and a file: import csv FILE, import statement FILE");

  const Result<std::string> bytes = ReadCsvImportFile(context.store.files(), *path);
  if (bytes.status().code() == StatusCode::kInvalidArgument)
    return UsageError(context, bytes.status().message());
  if (!bytes.ok())
    return Fail(context, kExitFailed, bytes.status().message());

  const ImportPlan plan = PlanCsvImport(bytes.value(), context.clock);
  for (const RefusedRow& refused : plan.refused)
    context.err << "paylark-cli: " << RefusalText(refused) << '\n';
  if (!plan.ok())
    return kExitInvalid;
  const auto count = static_cast<long long>(plan.dues.size());
  if (dryRun) {
    context.out << MessageText({MessageId::kImportWouldAdd, {}, count, {}}) << '\n';
    return kExitSuccess;
  }
  if (plan.dues.empty()) {
    context.err << "paylark-cli: " << MessageText(MessageId::kImportNothingToAdd) << '\n';
    return kExitSuccess;
  }
  const auto added = ApplyCsvImport(plan, context.store);
  if (!added.ok())
    return Fail(context, kExitFailed, added.status().message());
  for (const std::string& id : added.value())
    context.out << id << '\n';
  return kExitSuccess;
}

}  // namespace paylark::cli

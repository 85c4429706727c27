#include <sys/stat.h>

#include <fstream>
#include <ostream>
#include <sstream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "core/base/messages.h"
#include "core/exchange/csv_import.h"

namespace paylark::cli {
namespace {

constexpr off_t kLargestImport = off_t{256} << 20;

int ReadFailure(CommandContext& context, const std::string& path, const std::string& why) {
  return Fail(context, kExitFailed, MessageText({MessageId::kFileReadFailed, path, 0, why}));
}

}  // namespace

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

  struct stat st;
  if (stat(path->c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return ReadFailure(context, *path, "it is not a file");
  if (st.st_size > kLargestImport)
    return UsageError(context, MessageText(MessageId::kImportTooLarge));
  std::ifstream in(*path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in)
    return ReadFailure(context, *path, "reading stopped");

  const ImportPlan plan = PlanCsvImport(bytes.str(), context.clock);
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

#include "cli/command.h"

#include <ostream>
#include <utility>

#include "cli/exit_code.h"

namespace paylark::cli {

int Fail(CommandContext& context, int code, const std::string& message) {
  context.err << "paylark-cli: " << message << '\n';
  return code;
}

int NoSuchDue(CommandContext& context, const std::string& recordId) {
  return Fail(context, kExitFailed, "no due has the record ID \"" + recordId + "\"");
}

DueArgument TakeDueArgument(std::string_view command, Arguments& arguments,
                            CommandContext& context) {
  std::optional<std::string> id = arguments.TakePositional();
  if (!id)
    return {std::nullopt, UsageError(context, std::string(command) + " needs a record ID")};
  if (const std::optional<std::string> problem = arguments.Finish())
    return {std::nullopt, UsageError(context, *problem)};
  if (!context.store.records().Contains(*id))
    return {std::nullopt, NoSuchDue(context, *id)};
  return {std::move(id), kExitSuccess};
}

int UsageError(CommandContext& context, const std::string& message) {
  return Fail(context, kExitInvalid, message);
}

}  // namespace paylark::cli

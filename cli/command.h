#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "core/base/clock.h"
#include "core/records/record_store.h"

namespace paylark::cli {

// What every command works with: the loaded store of the working directory and the streams.
struct CommandContext {
  RecordStore& store;
  const Clock& clock;
  std::ostream& out;
  std::ostream& err;
};

struct Command {
  std::string_view name;
  std::string_view usage;  // shown by --help, one or more lines
  int (*run)(Arguments& arguments, CommandContext& context);
};

// Prints "paylark-cli: <message>" to the error stream and returns code.
int Fail(CommandContext& context, int code, const std::string& message);
// Fail with kExitInvalid, for arguments that do not fit the command.
int UsageError(CommandContext& context, const std::string& message);
// Fail with kExitFailed: no due has the record ID.
int NoSuchDue(CommandContext& context, const std::string& recordId);

// The record ID of a command that works on one due.
struct DueArgument {
  std::optional<std::string> id;  // empty when the command failed already
  int exitCode = 0;               // the failure's exit code
};
// Takes the record ID, the command's one positional argument, once every option is taken: no ID
// or an argument left over is a usage error, an ID that no due has fails with kExitFailed. A
// failure is printed before this returns.
DueArgument TakeDueArgument(std::string_view command, Arguments& arguments,
                            CommandContext& context);

}  // namespace paylark::cli

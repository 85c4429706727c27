#pragma once

#include <iosfwd>
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

}  // namespace paylark::cli

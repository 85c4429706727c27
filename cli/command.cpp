#include "cli/command.h"

#include <ostream>

#include "cli/exit_code.h"

namespace paylark::cli {

int Fail(CommandContext& context, int code, const std::string& message) {
  context.err << "paylark-cli: " << message << '\n';
  return code;
}

int NoSuchDue(CommandContext& context, const std::string& recordId) {
  return Fail(context, kExitFailed, "no due has the record ID \"" + recordId + "\"");
}

int UsageError(CommandContext& context, const std::string& message) {
  return Fail(context, kExitInvalid, message);
}

}  // namespace paylark::cli

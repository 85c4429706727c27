#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "core/records/due_search.h"

namespace paylark::cli {

int RunFind(Arguments& arguments, CommandContext& context) {
  const bool json = arguments.TakeFlag("--json");
  const auto text = arguments.TakePositional();
  if (!text)
    return UsageError(context, "find needs a text to look for");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  const DueSearch search(context.store);
  const std::vector<std::string> found = search.Find(*text);
  if (!json) {
    for (const std::string& id : found)
      PrintListRow(context.store.Get(id), context.out);
    return kExitSuccess;
  }
  context.out << "{\"query\": " << JsonString(*text) << ", \"rows\": [";
  for (std::size_t i = 0; i < found.size(); ++i)
    context.out << (i == 0 ? "" : ", ") << RecordJson(context.store.Get(found[i]));
  context.out << "]}\n";
  return kExitSuccess;
}

}  // namespace paylark::cli

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
  const std::vector<DueRecord> rows = search.Find(*text);
  if (!json) {
    for (const DueRecord& row : rows)
      PrintListRow(row, context.out);
    return kExitSuccess;
  }
  context.out << "{\"query\": " << JsonString(*text) << ", \"rows\": [";
  for (std::size_t i = 0; i < rows.size(); ++i)
    context.out << (i == 0 ? "" : ", ") << RecordJson(rows[i]);
  context.out << "]}\n";
  return kExitSuccess;
}

}  // namespace paylark::cli

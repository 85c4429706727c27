#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "core/records/due_details.h"

namespace paylark::cli {

int RunShow(Arguments& arguments, CommandContext& context) {
  const bool json = arguments.TakeFlag("--json");
  const DueArgument due = TakeDueArgument("show", arguments, context);
  if (!due.id)
    return due.exitCode;
  const std::string& id = *due.id;
  const DueRecord record = context.store.Get(id);
  const std::optional<SeriesPosition> position = context.store.records().SeriesPositionOf(id);
  if (json) {
    std::string object = RecordJson(record);
    if (position) {
      object.insert(object.size() - 1, ", \"seriesPosition\": [" +
                                           std::to_string(position->position) + ", " +
                                           std::to_string(position->count) + "]");
    }
    if (!record.payeeAccount.empty())
      object.insert(object.size() - 1, ", \"payeeAccount\": " + JsonString(record.payeeAccount));
    if (!record.creditorReference.empty())
      object.insert(object.size() - 1,
                    ", \"creditorReference\": " + JsonString(record.creditorReference));
    object.insert(object.size() - 1, PaymentsJson(record, context.clock.Now()));
    context.out << object << '\n';
    return kExitSuccess;
  }
  for (const DetailRow& row : DueDetails(record)) {
    context.out << row.heading << ": " << row.value << '\n';
  }
  if (position)
    context.out << kSeriesHeading << ": " << SeriesPositionText(position) << '\n';
  for (const DetailRow& row : PaymentDetails(record))
    context.out << row.heading << ": " << row.value << '\n';
  for (const DetailRow& row : ContractDetails(record, context.clock.Now()))
    context.out << row.heading << ": " << row.value << '\n';
  return kExitSuccess;
}

}  // namespace paylark::cli

#include <ostream>

#include "cli/commands.h"
#include "cli/date_time_text.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "core/base/format.h"
#include "core/records/month_selection.h"

namespace paylark::cli {

void PrintListRow(const DueRecord& r, std::ostream& out) {
  out << r.recordId << '\t' << ListDateTime(r.dueDate) << '\t' << r.title << '\t' << r.payTo << '\t'
      << FormatAmount(ListedAmount(r)) << '\t' << PaidText(r.paid) << '\n';
}

namespace {

void PrintPlain(const MonthSelection& selection, std::ostream& out) {
  for (const DueRecord& r : selection.rows)
    PrintListRow(r, out);
  out << selection.paidText << '\n' << selection.unpaidText << '\n' << selection.totalText << '\n';
}

void PrintJson(const MonthSelection& selection, const OleDateTime& month,
               std::string_view filterName, std::ostream& out) {
  out << "{\"month\": " << JsonString(MonthText(month))
      << ", \"filter\": " << JsonString(filterName) << ", \"rows\": [";
  for (std::size_t i = 0; i < selection.rows.size(); ++i) {
    out << (i == 0 ? "" : ", ") << RecordJson(selection.rows[i]);
  }
  out << "], \"paid\": " << JsonString(selection.paidText)
      << ", \"unpaid\": " << JsonString(selection.unpaidText)
      << ", \"total\": " << JsonString(selection.totalText) << "}\n";
}

}  // namespace

std::optional<std::string> TakeMonth(Arguments& arguments, const Clock& clock, OleDateTime& month) {
  month = clock.Now();
  const auto text = arguments.TakeValue("--month");
  if (!text)
    return std::nullopt;
  const auto parsed = ParseMonth(*text);
  if (!parsed)
    return "--month needs a month as YYYY-MM";
  month = *parsed;
  return std::nullopt;
}

std::optional<std::string> TakeFilter(Arguments& arguments, MonthFilter& filter,
                                      std::string& name) {
  name = arguments.TakeValue("--filter").value_or("all");
  if (name == "all") {
    filter = MonthFilter::kAll;
  } else if (name == "paid") {
    filter = MonthFilter::kPaidOnly;
  } else if (name == "unpaid") {
    filter = MonthFilter::kUnpaidOnly;
  } else {
    return "--filter must be all, paid or unpaid";
  }
  return std::nullopt;
}

int RunList(Arguments& arguments, CommandContext& context) {
  OleDateTime month;
  MonthFilter filter = MonthFilter::kAll;
  std::string filterName;
  if (auto problem = TakeMonth(arguments, context.clock, month)) {
    return UsageError(context, *problem);
  }
  if (auto problem = TakeFilter(arguments, filter, filterName)) {
    return UsageError(context, *problem);
  }
  const bool json = arguments.TakeFlag("--json");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);

  const MonthSelection selection = MonthFill(context.store, month, filter);
  if (json) {
    PrintJson(selection, month, filterName, context.out);
  } else {
    PrintPlain(selection, context.out);
  }
  return kExitSuccess;
}

}  // namespace paylark::cli

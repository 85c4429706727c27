#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/command.h"
#include "core/records/month_selection.h"

namespace paylark::cli {

// One function per command; main.cpp lists them in its command table.
int RunList(Arguments& arguments, CommandContext& context);
int RunShow(Arguments& arguments, CommandContext& context);
int RunAdd(Arguments& arguments, CommandContext& context);
// add --from-bill FILE: the due the bill describes, with the given fields laid over it.
int RunAddFromBill(const std::string& file, Arguments& arguments, CommandContext& context);
int RunDelete(Arguments& arguments, CommandContext& context);
int RunSeries(Arguments& arguments, CommandContext& context);
int RunModify(Arguments& arguments, CommandContext& context);
int RunExport(Arguments& arguments, CommandContext& context);
int RunPrint(Arguments& arguments, CommandContext& context);
int RunConflicts(Arguments& arguments, CommandContext& context);
int RunResolve(Arguments& arguments, CommandContext& context);
int RunBackup(Arguments& arguments, CommandContext& context);
int RunRestore(Arguments& arguments, CommandContext& context);
int RunImport(Arguments& arguments, CommandContext& context);
// import statement FILE ...: the rest of the arguments after "statement".
int RunImportStatement(Arguments& arguments, CommandContext& context, bool dryRun);
int RunFind(Arguments& arguments, CommandContext& context);
int RunSummary(Arguments& arguments, CommandContext& context);
int RunRemind(Arguments& arguments, CommandContext& context);
int RunAttach(Arguments& arguments, CommandContext& context);
int RunAttachments(Arguments& arguments, CommandContext& context);
int RunDetach(Arguments& arguments, CommandContext& context);
int RunPay(Arguments& arguments, CommandContext& context);
int RunBalance(Arguments& arguments, CommandContext& context);
int RunForecast(Arguments& arguments, CommandContext& context);
int RunSuggest(Arguments& arguments, CommandContext& context);
int RunCalendar(Arguments& arguments, CommandContext& context);

// Takes the day's backup of the records folder unless there is one (commands that change dues).
void BackUpBeforeFirstChangeOfDay(CommandContext& context);

// One due as a tab-separated line of plain `list`.
void PrintListRow(const DueRecord& record, std::ostream& out);

// Shared options: --month YYYY-MM (default: the current month) and --filter all|paid|unpaid.
std::optional<std::string> TakeMonth(Arguments& arguments, const Clock& clock, OleDateTime& month);
std::optional<std::string> TakeFilter(Arguments& arguments, MonthFilter& filter, std::string& name);

}  // namespace paylark::cli

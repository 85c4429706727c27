#include <cctype>
#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "cli/date_time_text.h"
#include "cli/exit_code.h"
#include "core/base/messages.h"
#include "core/export/data_files.h"
#include "core/export/template_files.h"
#include "core/print/print_filter.h"
#include "core/print/print_output.h"
#include "core/print/print_page.h"
#include "core/records/month_selection.h"

namespace paylark::cli {
namespace {

std::optional<std::string> TakeRange(Arguments& arguments, OleDateTime& from, OleDateTime& to) {
  const std::optional<std::string> fromText = arguments.TakeValue("--from");
  const std::optional<std::string> toText = arguments.TakeValue("--to");
  const std::optional<OleDateTime> first = fromText ? ParseMonth(*fromText) : std::nullopt;
  const std::optional<OleDateTime> last = toText ? ParseMonth(*toText) : std::nullopt;
  if (!first || !last)
    return "print needs --from YYYY-MM and --to YYYY-MM";
  if (CompareMonth(*first, *last) > 0)
    return "--to must not be before --from";
  from = *first;
  to = *last;
  return std::nullopt;
}

std::optional<std::string> TakeRecordsAction(Arguments& arguments,
                                             std::optional<RecordsAction>& action) {
  const std::optional<std::string> name = arguments.TakeValue("--records");
  if (!name)
    return std::nullopt;
  for (const RecordsActionEntry& entry : kRecordsActionTable) {
    std::string lower(entry.text);
    for (char& c : lower)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == *name)
      action = entry.action;
  }
  if (!action)
    return "--records must be all, invert, paid, unpaid or reset";
  return std::nullopt;
}

// A template given by path brings its own icons when they stand beside it.
std::vector<std::string> IconFolders(const std::optional<std::string>& templatePath,
                                     const FileSystem& files) {
  std::vector<std::string> folders = DataFolders(DataKind::kTemplates, files);
  if (templatePath) {
    const std::filesystem::path folder = std::filesystem::path(*templatePath).parent_path();
    folders.insert(folders.begin(), folder.empty() ? "." : folder.string());
  }
  return folders;
}

}  // namespace

int RunPrint(Arguments& arguments, CommandContext& context) {
  OleDateTime from;
  OleDateTime to;
  std::optional<RecordsAction> action;
  if (auto problem = TakeRange(arguments, from, to))
    return UsageError(context, *problem);
  if (auto problem = TakeRecordsAction(arguments, action))
    return UsageError(context, *problem);
  const std::optional<std::string> account = arguments.TakeValue("--account");
  const std::optional<std::string> templatePath = arguments.TakeValue("--template");
  const std::optional<std::string> output = arguments.TakeValue("--output");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  if (!output || output->empty())
    return UsageError(context, "print needs --output FILE");

  // As the dialog opens: every row of the range checked; then the Records and Account choices.
  std::vector<PrintRow> rows = MakePrintRows(RangeFill(context.store, from, to));
  ApplyRecordsAction(rows, action.value_or(RecordsAction::kAll));
  if (account)
    CheckAccount(rows, *account);

  const std::optional<std::string> path =
      templatePath ? templatePath
                   : FindTemplate(kPrintTemplateName,
                                  DataFolders(DataKind::kTemplates, context.store.files()),
                                  context.store.files());
  if (!path) {
    return Fail(
        context, kExitFailed,
        MessageText({MessageId::kTemplateNotFound, std::string(kPrintTemplateName), 0, {}}));
  }
  const Result<std::string> templateText = ReadTemplate(*path, context.store.files());
  if (!templateText.ok())
    return Fail(context, kExitFailed, templateText.status().message());
  const Result<std::string> page =
      RenderPrintPage(templateText.value(), CheckedRecords(rows), from, to);
  if (!page.ok())
    return Fail(context, kExitFailed, page.status().message());
  if (Status written =
          WritePrintPage(page.value(), *output, IconFolders(templatePath, context.store.files()),
                         context.store.files());
      !written.ok()) {
    return Fail(context, kExitFailed, written.message());
  }
  return kExitSuccess;
}

}  // namespace paylark::cli

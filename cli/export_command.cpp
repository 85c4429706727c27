#include <ostream>

#include "cli/commands.h"
#include "cli/date_time_text.h"
#include "cli/exit_code.h"
#include "cli/export_exchange.h"
#include "cli/export_office.h"
#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/export/data_files.h"
#include "core/export/document_file.h"
#include "core/export/html_export.h"
#include "core/export/month_heading.h"
#include "core/export/notes_choice.h"
#include "core/export/pdf_export.h"
#include "core/export/template_files.h"

namespace paylark::cli {
namespace {

// What every export format is given: the month list's rows in list order and the options.
struct ExportRequest {
  std::vector<DueRecord> rows;
  OleDateTime month;
  NotesChoice notes = NotesChoice::kWithNotes;
  std::optional<std::string> templatePath;
  std::string output;
};

// Documents show one month; the exchange formats (ics, csv) take a range of months.
enum class Selection { kMonth, kRange };

// A format writes request.output and returns the exit code.
struct FormatWriter {
  std::string_view name;
  bool takesTemplate;
  int (*write)(const ExportRequest& request, CommandContext& context);
  Selection selection = Selection::kMonth;
};

int WriteOrFail(CommandContext& context, const std::string& path, std::string_view bytes) {
  if (Status written = WriteDocument(path, bytes, context.store.files()); !written.ok()) {
    return Fail(context, kExitFailed, written.message());
  }
  return kExitSuccess;
}

int ExportHtml(const ExportRequest& request, CommandContext& context) {
  std::optional<std::string> path = request.templatePath;
  if (!path)
    path = FindTemplate(kHtmlExportTemplateName,
                        DataFolders(DataKind::kTemplates, context.store.files()),
                        context.store.files());
  if (!path) {
    return Fail(
        context, kExitFailed,
        MessageText({MessageId::kTemplateNotFound, std::string(kHtmlExportTemplateName), 0, {}}));
  }
  const Result<std::string> templateText = ReadTemplate(*path, context.store.files());
  if (!templateText.ok())
    return Fail(context, kExitFailed, templateText.status().message());
  const Result<std::string> html =
      RenderHtmlExport(templateText.value(), request.rows,
                       MonthHeading(ExportFormat::kHtml, request.month), request.notes);
  if (!html.ok())
    return Fail(context, kExitFailed, html.status().message());
  return WriteOrFail(context, request.output, html.value());
}

int ExportPdf(const ExportRequest& request, CommandContext& context) {
  const Result<PdfExport> rendered =
      RenderPdfExport(request.rows, MonthHeading(ExportFormat::kPdf, request.month), request.notes);
  if (!rendered.ok())
    return Fail(context, kExitFailed, rendered.status().message());
  const PdfExport& pdf = rendered.value();
  const int result = WriteOrFail(context, request.output, pdf.bytes);
  if (result == kExitSuccess && !pdf.duesWithLostCharacters.empty()) {
    std::string titles;
    for (const std::string& title : pdf.duesWithLostCharacters)
      titles += title + "\n";
    titles.pop_back();
    context.err << "paylark-cli: "
                << MessageText({MessageId::kPdfCharactersLost,
                                titles,
                                static_cast<long long>(pdf.duesWithLostCharacters.size()),
                                {}})
                << '\n';
  }
  return result;
}

constexpr FormatWriter kExportFormats[] = {
    {"html", true, ExportHtml},
    {"pdf", false, ExportPdf},
    {"xlsx", false,
     [](const ExportRequest& request, CommandContext& context) {
       return ExportXlsx(request.rows, request.month, request.notes, request.output, context);
     }},
    {"docx", false,
     [](const ExportRequest& request, CommandContext& context) {
       return ExportDocx(request.rows, request.month, request.notes, request.output, context);
     }},
    {"ics", false,
     [](const ExportRequest& request, CommandContext& context) {
       return ExportCalendar(request.rows, request.output, context);
     },
     Selection::kRange},
    {"csv", false,
     [](const ExportRequest& request, CommandContext& context) {
       return ExportCsv(request.rows, request.output, context);
     },
     Selection::kRange},
};

std::string FormatNames() {
  std::string names;
  for (const FormatWriter& format : kExportFormats) {
    names += (names.empty() ? "" : ", ") + std::string(format.name);
  }
  return names;
}

const FormatWriter* FindFormat(std::string_view name) {
  for (const FormatWriter& format : kExportFormats) {
    if (format.name == name)
      return &format;
  }
  return nullptr;
}

// --month YYYY-MM, or --from YYYY-MM --to YYYY-MM; neither leaves the range open.
std::optional<std::string> TakeRange(Arguments& arguments, MonthRange& range) {
  const auto month = arguments.TakeValue("--month");
  const auto from = arguments.TakeValue("--from");
  const auto to = arguments.TakeValue("--to");
  if (month && (from || to))
    return "--month and --from/--to exclude each other";
  if (from.has_value() != to.has_value())
    return "--from and --to go together";
  if (month || from) {
    range.first = ParseMonth(month ? *month : *from);
    range.last = month ? range.first : ParseMonth(*to);
    if (!range.first || !range.last)
      return "--month, --from and --to need a month as YYYY-MM";
    if (CompareMonth(*range.first, *range.last) > 0)
      return "--from must not come after --to";
  }
  return std::nullopt;
}

std::string RangeText(const MonthRange& range) {
  if (!range.first)
    return "any month";
  std::string text = FormatDate(*range.first, "MMMM yyyy");
  if (CompareMonth(*range.first, *range.last) != 0)
    text += " to " + FormatDate(*range.last, "MMMM yyyy");
  return text;
}

}  // namespace

int RunExport(Arguments& arguments, CommandContext& context) {
  ExportRequest request;
  MonthRange range;
  MonthFilter filter = MonthFilter::kAll;
  std::string filterName;
  if (auto problem = TakeRange(arguments, range))
    return UsageError(context, *problem);
  if (auto problem = TakeFilter(arguments, filter, filterName))
    return UsageError(context, *problem);
  if (arguments.TakeFlag("--without-notes"))
    request.notes = NotesChoice::kWithoutNotes;
  request.templatePath = arguments.TakeValue("--template");
  const std::optional<std::string> output = arguments.TakeValue("--output");
  const std::optional<std::string> formatName = arguments.TakePositional();
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  const FormatWriter* format = formatName ? FindFormat(*formatName) : nullptr;
  if (format == nullptr)
    return UsageError(context, "export needs a format: " + FormatNames());
  if (request.templatePath && !format->takesTemplate)
    return UsageError(context, "--template applies to the html export only");
  if (!output || output->empty())
    return UsageError(context, "export needs --output FILE");
  request.output = *output;

  std::string selected;
  if (format->selection == Selection::kRange) {
    if (request.notes == NotesChoice::kWithoutNotes)
      return UsageError(context, "--without-notes applies to the document formats only");
    request.rows = RangeRows(context.store, range, filter);
    selected = RangeText(range);
  } else {
    if (range.first && CompareMonth(*range.first, *range.last) != 0)
      return UsageError(context, "--from and --to apply to ics and csv only");
    request.month = range.first.value_or(context.clock.Now());
    request.rows = MonthFill(context.store, request.month, filter).rows;
    selected = FormatDate(request.month, "MMMM yyyy");
  }
  if (request.rows.empty()) {
    context.err << "paylark-cli: " << MessageText({MessageId::kNoDuesToExport, selected, 0, {}})
                << '\n';
    return kExitSuccess;
  }
  return format->write(request, context);
}

}  // namespace paylark::cli

#include "cli/export_office.h"

#include <ostream>

#include "cli/exit_code.h"
#include "core/base/messages.h"
#include "core/export/month_heading.h"
#include "core/office/docx_export.h"
#include "core/office/xlsx_export.h"

namespace paylark::cli {

int ExportXlsx(std::span<const DueRecord> rows, const OleDateTime& month, NotesChoice notes,
               const std::string& output, CommandContext& context) {
  const OfficeExportRequest request{rows, MonthHeading(ExportFormat::kExcel, month), notes,
                                    context.clock.Now()};
  const Result<OfficeExportReport> written = WriteXlsxExport(output, request);
  if (!written.ok())
    return Fail(context, kExitFailed, written.status().message());
  if (const int shortened = written.value().shortenedTexts; shortened > 0) {
    context.err << "paylark-cli: "
                << MessageText({MessageId::kExportTextsShortened, {}, shortened, {}}) << '\n';
  }
  return kExitSuccess;
}

int ExportDocx(std::span<const DueRecord> rows, const OleDateTime& month, NotesChoice notes,
               const std::string& output, CommandContext& context) {
  const OfficeExportRequest request{rows, MonthHeading(ExportFormat::kWord, month), notes,
                                    context.clock.Now()};
  if (Status written = WriteDocxExport(output, request); !written.ok()) {
    return Fail(context, kExitFailed, written.message());
  }
  return kExitSuccess;
}

}  // namespace paylark::cli

// The programs' definitions of the module's functions: each loads the module on first use and
// calls the module's own.
#include "core/bills/bill_reading.h"
#include "core/exchange/caldav_multistatus.h"
#include "core/export/pdf_export.h"
#include "core/modules/format_module.h"
#include "core/statements/camt_reader.h"
#include "core/statements/ofx_reader.h"

namespace paylark {

Result<Bill> ReadBillFile(FileSystem& files, const std::string& path) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->readBillFile(files, path);
}

Result<Statement> ReadOfxStatement(std::string_view bytes) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->readOfxStatement(bytes);
}

Result<Statement> ReadCamtStatement(std::string_view bytes) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->readCamtStatement(bytes);
}

Result<PdfExport> RenderPdfExport(std::span<const DueRecord> rows, std::string_view monthText,
                                  NotesChoice notes) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->renderPdfExport(rows, monthText, notes);
}

Result<Multistatus> ParseMultistatus(std::string_view xml) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->parseMultistatus(xml);
}

}  // namespace paylark

// The programs' definitions of the module's functions: each loads the module on first use and
// calls the module's own.
#include "core/bills/bill_reading.h"
#include "core/exchange/caldav_multistatus.h"
#include "core/export/pdf_export.h"
#include "core/modules/format_module.h"
#include "core/office/docx_package.h"
#include "core/office/xlsx_export.h"
#include "core/statements/camt_reader.h"
#include "core/statements/ofx_reader.h"
#include "core/sync/backups.h"

namespace paylark {

Result<Bill> ReadBillFile(FileSystem& files, const std::string& path) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->readBillFile(files, path);
}

Result<Statement> ReadOfxStatement(std::string_view bytes) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->readOfxStatement(bytes);
}

Result<std::string> PackDocx(const DocxParts& parts, const OleDateTime& stamp) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->packDocx(parts, stamp);
}

Result<OfficeExportReport> WriteXlsxExport(const std::string& path,
                                           const OfficeExportRequest& request) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->writeXlsxExport(path, request);
}

Result<TakenBackup> TakeBackup(FileSystem& files, const std::string& workingDirectory,
                               const Clock& clock, int keep, const BackupOptions& options) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->takeBackup(files, workingDirectory, clock, keep, options);
}

Result<std::string> CreateBackup(const RecordStore& store, const Clock& clock, int keep,
                                 const std::string& output) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->createBackup(store, clock, keep, output);
}

Result<std::vector<DueRecord>> ReadBackup(const std::string& zipPath, FileSystem& files) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->readBackup(zipPath, files);
}

Status RestoreBackup(RecordStore& store, const Clock& clock, const std::string& zipPath, int keep,
                     bool allowEmpty) {
  PAYLARK_TRY_ASSIGN(const FormatModule* module, LoadFormatModule());
  return module->restoreBackup(store, clock, zipPath, keep, allowEmpty);
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

// The programs' definitions of the module's functions: each loads the module on first use and
// calls the module's own.
#include "core/modules/archive_module.h"
#include "core/office/docx_package.h"
#include "core/office/xlsx_export.h"

namespace paylark {

Result<std::string> PackDocx(const DocxParts& parts, const OleDateTime& stamp) {
  PAYLARK_TRY_ASSIGN(const ArchiveModule* module, LoadArchiveModule());
  return module->packDocx(parts, stamp);
}

Result<OfficeExportReport> WriteXlsxExport(const std::string& path,
                                           const OfficeExportRequest& request) {
  PAYLARK_TRY_ASSIGN(const ArchiveModule* module, LoadArchiveModule());
  return module->writeXlsxExport(path, request);
}

Result<TakenBackup> TakeBackup(FileSystem& files, const std::string& workingDirectory,
                               const Clock& clock, int keep, const BackupOptions& options) {
  PAYLARK_TRY_ASSIGN(const ArchiveModule* module, LoadArchiveModule());
  return module->takeBackup(files, workingDirectory, clock, keep, options);
}

Result<std::string> CreateBackup(const RecordStore& store, const Clock& clock, int keep,
                                 const std::string& output) {
  PAYLARK_TRY_ASSIGN(const ArchiveModule* module, LoadArchiveModule());
  return module->createBackup(store, clock, keep, output);
}

Result<std::vector<DueRecord>> ReadBackup(const std::string& zipPath, FileSystem& files) {
  PAYLARK_TRY_ASSIGN(const ArchiveModule* module, LoadArchiveModule());
  return module->readBackup(zipPath, files);
}

Status RestoreBackup(RecordStore& store, const Clock& clock, const std::string& zipPath, int keep,
                     bool allowEmpty) {
  PAYLARK_TRY_ASSIGN(const ArchiveModule* module, LoadArchiveModule());
  return module->restoreBackup(store, clock, zipPath, keep, allowEmpty);
}

}  // namespace paylark

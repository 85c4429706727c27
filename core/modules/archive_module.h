#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/base/clock.h"
#include "core/base/ole_date_time.h"
#include "core/base/status.h"
#include "core/io/file_system.h"
#include "core/modules/module_loading.h"
#include "core/office/docx_document.h"
#include "core/office/office_export.h"
#include "core/records/due_record.h"
#include "core/records/record_store.h"
#include "core/sync/backups.h"

namespace paylark {

// The backups and the office documents, with libzip and libxlsxwriter behind them, as a module of
// their own. paylark and paylark-cli load it the first time one of them is used (the day's first
// change takes a backup), apart from the other formats, so that neither loads the libraries of
// the other. Their copies of these functions call the module's through this table.
struct ArchiveModule {
  std::size_t size;  // sizeof(ArchiveModule) where the module was built
  Result<std::string> (*packDocx)(const DocxParts& parts, const OleDateTime& stamp);
  Result<OfficeExportReport> (*writeXlsxExport)(const std::string& path,
                                                const OfficeExportRequest& request);
  Result<TakenBackup> (*takeBackup)(FileSystem& files, const std::string& workingDirectory,
                                    const Clock& clock, int keep, const BackupOptions& options);
  Result<std::string> (*createBackup)(const RecordStore& store, const Clock& clock, int keep,
                                      const std::string& output);
  Result<std::vector<DueRecord>> (*readBackup)(const std::string& zipPath, FileSystem& files);
  Status (*restoreBackup)(RecordStore& store, const Clock& clock, const std::string& zipPath,
                          int keep, bool allowEmpty);
};

// The module's file, its entry and its table's size.
extern const ModuleDescription kArchiveModule;

// The module's table, loaded on the first call (from beside the executable, else from where it
// is installed) and kept for the life of the process. A module that is missing, cannot be
// linked or was built for another table is an IoError that says so, on every call.
Result<const ArchiveModule*> LoadArchiveModule();

}  // namespace paylark

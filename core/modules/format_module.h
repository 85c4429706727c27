#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"
#include "core/bills/bill.h"
#include "core/exchange/caldav_multistatus.h"
#include "core/export/pdf_export.h"
#include "core/io/file_system.h"
#include "core/modules/module_loading.h"
#include "core/records/due_record.h"
#include "core/statements/statement.h"

namespace paylark {

// The formats that need the large libraries (poppler, ZXing, LibOFX, libxml2, and HarfBuzz and
// fontconfig for the PDF's fonts) as a module of their own. paylark and paylark-cli load it the
// first time one of them is used, so that none of those libraries is mapped, relocated and
// initialised at every start. Their copies of these functions call the module's through this
// table.
struct FormatModule {
  std::size_t size;  // sizeof(FormatModule) where the module was built
  Result<Bill> (*readBillFile)(FileSystem& files, const std::string& path);
  Result<Statement> (*readOfxStatement)(std::string_view bytes);
  Result<Statement> (*readCamtStatement)(std::string_view bytes);
  Result<PdfExport> (*renderPdfExport)(std::span<const DueRecord> rows, std::string_view monthText,
                                       NotesChoice notes);
  Result<Multistatus> (*parseMultistatus)(std::string_view xml);
};

// The module's file, its entry and its table's size.
extern const ModuleDescription kFormatModule;

// The module's table, loaded on the first call (from beside the executable, else from where it
// is installed) and kept for the life of the process. A module that is missing, cannot be
// linked or was built for another table is an IoError that says so, on every call.
Result<const FormatModule*> LoadFormatModule();

}  // namespace paylark

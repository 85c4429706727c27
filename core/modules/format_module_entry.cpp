#include "core/bills/bill_reading.h"
#include "core/exchange/caldav_multistatus.h"
#include "core/export/pdf_export.h"
#include "core/modules/format_module.h"
#include "core/statements/camt_reader.h"
#include "core/statements/ofx_reader.h"

// The module's one exported name; its version script keeps every other symbol inside it, so the
// functions below are its own and never the program's copies of the same names.
// NOLINTNEXTLINE(readability-identifier-naming): the C name the programs look up.
extern "C" [[gnu::visibility("default")]] const void* paylark_format_module() {
  static constexpr paylark::FormatModule kModule{
      sizeof(paylark::FormatModule), &paylark::ReadBillFile,    &paylark::ReadOfxStatement,
      &paylark::ReadCamtStatement,   &paylark::RenderPdfExport, &paylark::ParseMultistatus};
  return &kModule;
}

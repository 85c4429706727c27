#include "core/modules/archive_module.h"
#include "core/office/docx_package.h"
#include "core/office/xlsx_export.h"

// The module's one exported name; its version script keeps every other symbol inside it, so the
// functions below are its own and never the program's copies of the same names.
// NOLINTNEXTLINE(readability-identifier-naming): the C name the programs look up.
extern "C" [[gnu::visibility("default")]] const void* paylark_archive_module() {
  static constexpr paylark::ArchiveModule kModule{
      sizeof(paylark::ArchiveModule), &paylark::PackDocx,     &paylark::WriteXlsxExport,
      &paylark::TakeBackup,           &paylark::CreateBackup, &paylark::ReadBackup,
      &paylark::RestoreBackup};
  return &kModule;
}

#include "ui/app/view_module.h"
#include "ui/attachments/pdf_page.h"
#include "ui/base/print_preview.h"
#include "ui/shell/series_history_window.h"
#include "ui/shell/year_overview.h"

// The module's one exported name; its version script keeps every other symbol inside it, so the
// functions below are its own and never the program's copies of the same names.
// NOLINTNEXTLINE(readability-identifier-naming): the C name the program looks up.
extern "C" [[gnu::visibility("default")]] const void* paylark_view_module() {
  static const paylark::ViewModule kModule{
      sizeof(paylark::ViewModule), &paylark::MakeForecastWindow, &paylark::RunYearOverview,
      &paylark::RunSeriesHistory,  &paylark::RenderPdfPage,      &paylark::RunPrintPreview};
  return &kModule;
}

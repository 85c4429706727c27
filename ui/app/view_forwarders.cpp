// The program's definitions of the module's functions: each loads the module on first use and
// calls the module's own.
#include "ui/app/view_module.h"
#include "ui/attachments/pdf_page.h"
#include "ui/base/print_preview.h"
#include "ui/shell/series_history_window.h"
#include "ui/shell/year_overview.h"

namespace paylark {

Result<std::unique_ptr<ForecastView>> MakeForecastWindow(RecordStore& store, const Clock& clock,
                                                         Prompt& prompt, QWidget* parent) {
  PAYLARK_TRY_ASSIGN(const ViewModule* module, LoadViewModule());
  return module->makeForecastWindow(store, clock, prompt, parent);
}

Status RunYearOverview(const RecordStore& store, int year, QWidget* parent) {
  PAYLARK_TRY_ASSIGN(const ViewModule* module, LoadViewModule());
  return module->runYearOverview(store, year, parent);
}

Status RunSeriesHistory(std::vector<DueRecord> members, QWidget* parent) {
  PAYLARK_TRY_ASSIGN(const ViewModule* module, LoadViewModule());
  return module->runSeriesHistory(std::move(members), parent);
}

QImage RenderPdfPage(const QString& path, QSize box) {
  const Result<const ViewModule*> module = LoadViewModule();
  return module.ok() ? module.value()->renderPdfPage(path, box) : QImage();
}

Status RunPrintPreview(QWidget* parent, const QString& title,
                       const std::function<void(QPagedPaintDevice*)>& paint) {
  PAYLARK_TRY_ASSIGN(const ViewModule* module, LoadViewModule());
  return module->runPrintPreview(parent, title, paint);
}

}  // namespace paylark

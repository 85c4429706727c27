#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "core/base/status.h"
#include "core/modules/module_loading.h"
#include "core/records/due_record.h"
#include "ui/forecast/forecast_view.h"

class QPagedPaintDevice;
class QWidget;

namespace paylark {

// The windows that draw with Qt Charts, Qt PDF and Qt's print support (the forecast, the year
// overview, the series history, a PDF's first page and the print preview) as a module of their
// own. paylark loads it the first time one of them is opened, so that none of those libraries is
// mapped, relocated and initialised at its start. Its copies of these functions call the
// module's through this table.
struct ViewModule {
  std::size_t size;  // sizeof(ViewModule) where the module was built
  Result<std::unique_ptr<ForecastView>> (*makeForecastWindow)(RecordStore& store,
                                                              const Clock& clock, Prompt& prompt,
                                                              QWidget* parent);
  Status (*runYearOverview)(const RecordStore& store, int year, QWidget* parent);
  Status (*runSeriesHistory)(std::vector<DueRecord> members, QWidget* parent);
  QImage (*renderPdfPage)(const QString& path, QSize box);
  Status (*runPrintPreview)(QWidget* parent, const QString& title,
                            const std::function<void(QPagedPaintDevice*)>& paint);
};

// The module's file, its entry and its table's size.
extern const ModuleDescription kViewModule;

// The module's table, loaded on the first call (from beside the executable, else from where it
// is installed) and kept for the life of the process; an IoError that says why it could not be
// loaded, on every call.
Result<const ViewModule*> LoadViewModule();

}  // namespace paylark

#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "core/base/status.h"

class QPagedPaintDevice;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace paylark {

// The print preview window over `printer`: large enough to read a page where the screen allows,
// and never larger than the screen it opens on, so its tool bar and page stay in sight. The
// printer must outlive the window.
std::unique_ptr<QPrintPreviewDialog> MakePrintPreview(QPrinter& printer, const QString& title,
                                                      QWidget* parent);

// Shows that window, modal, on a high-resolution printer whose pages `paint` draws. Qt's print
// support arrives with the module that holds this: the error says when it cannot be loaded.
[[nodiscard]] Status RunPrintPreview(QWidget* parent, const QString& title,
                                     const std::function<void(QPagedPaintDevice*)>& paint);

}  // namespace paylark

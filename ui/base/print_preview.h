#pragma once

#include <QString>
#include <memory>

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace paylark {

// The print preview window over `printer`: large enough to read a page where the screen allows,
// and never larger than the screen it opens on, so its tool bar and page stay in sight. The
// printer must outlive the window.
std::unique_ptr<QPrintPreviewDialog> MakePrintPreview(QPrinter& printer, const QString& title,
                                                      QWidget* parent);

}  // namespace paylark

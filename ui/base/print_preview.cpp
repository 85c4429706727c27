#include "ui/base/print_preview.h"

#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

namespace paylark {
namespace {

// Room for a whole A4 or Letter page at a readable scale.
constexpr QSize kPreferredSize(900, 760);
// A window manager's frame and title bar, which are not known before the window is shown.
constexpr QSize kFrameAllowance(8, 36);

}  // namespace

std::unique_ptr<QPrintPreviewDialog> MakePrintPreview(QPrinter& printer, const QString& title,
                                                      QWidget* parent) {
  auto preview = std::make_unique<QPrintPreviewDialog>(&printer, parent);
  preview->setWindowTitle(title);
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const QSize room = screen ? screen->availableGeometry().size() - kFrameAllowance : kPreferredSize;
  preview->resize(kPreferredSize.boundedTo(room).expandedTo(preview->minimumSizeHint()));
  return preview;
}

Status RunPrintPreview(QWidget* parent, const QString& title,
                       const std::function<void(QPagedPaintDevice*)>& paint) {
  QPrinter printer(QPrinter::HighResolution);
  const std::unique_ptr<QPrintPreviewDialog> preview = MakePrintPreview(printer, title, parent);
  QObject::connect(preview.get(), &QPrintPreviewDialog::paintRequested, preview.get(),
                   [&paint](QPrinter* target) { paint(target); });
  preview->exec();
  return Status::Ok();
}

}  // namespace paylark

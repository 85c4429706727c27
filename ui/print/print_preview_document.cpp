#include "ui/print/print_preview_document.h"

#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QScreen>
#include <QTextOption>
#include <QUrl>

namespace paylark {
namespace {

// The document lays text out in screen pixels; the page size is the printable area in those
// pixels, so text prints at its real size.
QSizeF PageSizeFor(const QPagedPaintDevice& printer) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const qreal dotsPerInch = screen ? screen->logicalDotsPerInchY() : 96.0;
  return printer.pageLayout().paintRect(QPageLayout::Inch).size() * dotsPerInch;
}

}  // namespace

void PrintPreviewDocument::Load(std::string_view html, const QString& folder) {
  document_.clear();
  // A word wider than its column breaks anywhere rather than push the table off the paper.
  QTextOption option = document_.defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  document_.setDefaultTextOption(option);
  document_.setBaseUrl(QUrl::fromLocalFile(folder + QLatin1Char('/')));
  document_.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
}

void PrintPreviewDocument::Paint(QPagedPaintDevice* printer) {
  document_.setPageSize(PageSizeFor(*printer));
  document_.print(printer);
}

}  // namespace paylark

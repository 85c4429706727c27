#include "ui/attachments/pdf_page.h"

#include <QPainter>
#include <QPdfDocument>

namespace paylark {

QImage RenderPdfPage(const QString& path, QSize box) {
  QPdfDocument document;
  if (document.load(path) != QPdfDocument::Error::None || document.pageCount() < 1)
    return {};
  const QSizeF page = document.pagePointSize(0);
  if (page.isEmpty())
    return {};
  const QSize fitted = page.scaled(QSizeF(box), Qt::KeepAspectRatio).toSize();
  QImage image = document.render(0, fitted);
  // Pages without a background of their own are white on paper.
  QImage white(image.size(), QImage::Format_RGB32);
  white.fill(Qt::white);
  QPainter painter(&white);
  painter.drawImage(0, 0, image);
  return white;
}

}  // namespace paylark

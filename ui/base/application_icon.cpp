#include "ui/base/application_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "ui/base/resources.h"

namespace paylark {

std::vector<QImage> DrawApplicationIcon() {
  QSvgRenderer renderer(SvgPath(QStringLiteral("org.paylark.Paylark")));
  renderer.setAspectRatioMode(Qt::KeepAspectRatio);
  std::vector<QImage> images;
  if (!renderer.isValid())
    return images;
  for (const int side : {16, 32, 64, 128}) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    images.push_back(std::move(image));
  }
  return images;
}

QIcon ApplicationIcon(const std::vector<QImage>& images) {
  QIcon icon;
  for (const QImage& image : images)
    icon.addPixmap(QPixmap::fromImage(image));
  return icon;
}

}  // namespace paylark

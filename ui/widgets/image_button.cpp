#include "ui/widgets/image_button.h"

#include <QPainter>
#include <QSvgRenderer>

namespace paylark {

ImageButton::ImageButton(const QString& svgPath, const QString& accessibleText, QSize size,
                         QWidget* parent)
    : QAbstractButton(parent), svgPath_(svgPath), size_(size) {
  setText(accessibleText);
  setToolTip(accessibleText);
  setAccessibleName(accessibleText);
  setCursor(Qt::PointingHandCursor);
  setFixedSize(size);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_Hover);
}

void ImageButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QRectF target = rect();
  if (isDown())
    target.translate(1, 1);
  if (!isEnabled())
    painter.setOpacity(0.35);
  QSvgRenderer image(svgPath_);
  if (image.isValid()) {
    image.render(&painter, target);
  } else {
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(target, Qt::AlignCenter, text());
  }
  if (underMouse())
    painter.fillRect(target, QColor(255, 255, 255, 50));
  if (hasFocus()) {
    painter.setPen(QPen(QColor(0, 45, 150), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  }
}

}  // namespace paylark

#include "ui/widgets/styled_button.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionButton>

#include "ui/widgets/display_style.h"

namespace paylark {

StyledButton::StyledButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setAttribute(Qt::WA_Hover);
}

void StyledButton::ShowText(bool show) {
  showText_ = show;
  update();
}

QSize StyledButton::sizeHint() const {
  const QSize base = QPushButton::sizeHint();
  return QSize(qMax(base.width(), 75), qMax(base.height(), 24));
}

void StyledButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor face = GuiDrawLayer::GetRGBColorFace(kDisplayStyle);
  QColor top = GuiDrawLayer::GradientTop(face);
  QColor bottom = face;
  if (isDown()) {
    std::swap(top, bottom);
    bottom = GuiDrawLayer::GradientBottom(face);
  } else if (underMouse() && isEnabled()) {
    top = QColor(255, 244, 204);
    bottom = QColor(255, 214, 154);
  }
  const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  const qreal radius = borderStyle_ == 3 ? 3.0 : 0.0;
  const QColor border =
      isEnabled() ? GuiDrawLayer::GetRGBColorBTNHigh(kDisplayStyle) : QColor(150, 160, 180);
  painter.setPen(QPen(border, isDefault() || hasFocus() ? 1.6 : 1.0));
  painter.setBrush(fill);
  painter.drawRoundedRect(frame, radius, radius);
  if (!showText_)
    return;
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  QRect textRect = rect();
  if (!icon().isNull()) {
    const QSize size = iconSize();
    const int x = 8;
    icon().paint(&painter, QRect(QPoint(x, (height() - size.height()) / 2), size));
    textRect.setLeft(x + size.width());
  }
  painter.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

}  // namespace paylark

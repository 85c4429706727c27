#include "ui/widgets/gradient_label.h"

#include <QPainter>
#include <QSvgRenderer>

#include "ui/widgets/display_style.h"

namespace paylark {
namespace {

constexpr int kImageWidth = 100;

int BandChannel(int top, int bottom, int index) {
  return top + index * (bottom - top) / GradientLabel::kBands;
}

}  // namespace

GradientLabel::GradientLabel(QWidget* parent) : QWidget(parent) {
  setAccessibleName(QStringLiteral("Accounts"));
}

QColor GradientLabel::BandColor(const QColor& top, const QColor& bottom, int index) {
  return QColor(BandChannel(top.red(), bottom.red(), index),
                BandChannel(top.green(), bottom.green(), index),
                BandChannel(top.blue(), bottom.blue(), index));
}

QSize GradientLabel::sizeHint() const {
  return QSize(140, 24);
}

void GradientLabel::paintEvent(QPaintEvent*) {
  const QColor face = GuiDrawLayer::GetRGBColorFace(kDisplayStyle);
  const QColor top = GuiDrawLayer::GradientTop(face);
  const QColor bottom = GuiDrawLayer::GradientBottom(face);
  QPainter painter(this);
  const int h = height();
  for (int i = 0; i < kBands; ++i) {
    const int y0 = i * h / kBands;
    const int y1 = (i + 1) * h / kBands;
    if (y1 > y0)
      painter.fillRect(0, y0, kBandWidth, y1 - y0, BandColor(top, bottom, i));
  }
  QSvgRenderer image(QStringLiteral(":/icons/accounts-label.svg"));
  if (!image.isValid())
    return;
  // The picture keeps its proportions and shrinks only when the label is too low for it.
  const QSizeF natural = image.defaultSize();
  if (natural.isEmpty())
    return;
  // The picture stands a quarter of the label in from its left and top, on whole pixels.
  const int imageLeft = width() / 4;
  const int imageTop = h / 4;
  const qreal scale = qMin(kImageWidth / natural.width(), (h - imageTop) / natural.height());
  image.render(&painter,
               QRectF(imageLeft, imageTop, natural.width() * scale, natural.height() * scale));
}

}  // namespace paylark

#include "ui/print/print_banner.h"

#include <QPainter>
#include <QSvgRenderer>

#include "ui/base/resources.h"

namespace paylark {
namespace {

constexpr QSize kPictureSize(320, 45);
const QColor kRightColor(0xbc, 0xd3, 0xf4);
const QColor kRuleColor(0x8f, 0xb0, 0xde);

}  // namespace

PrintBanner::PrintBanner(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFixedHeight(kPictureSize.height());
}

QSize PrintBanner::sizeHint() const {
  return kPictureSize;
}

void PrintBanner::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kRightColor);
  QSvgRenderer picture(SvgPath(QStringLiteral("print-banner")));
  picture.render(&painter, QRectF(QPointF(0, 0), kPictureSize));
  painter.setPen(kRuleColor);
  painter.drawLine(0, height() - 1, width(), height() - 1);
}

}  // namespace paylark

#include "ui/widgets/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace paylark {
namespace {

constexpr int kShortestCharacters = 4;

}  // namespace

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText);
}

QString ElidedLabel::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

QSize ElidedLabel::minimumSizeHint() const {
  const QMargins margins = contentsMargins();
  return QSize(
      fontMetrics().averageCharWidth() * kShortestCharacters + margins.left() + margins.right(),
      QLabel::minimumSizeHint().height());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int flags = static_cast<int>(QStyle::visualAlignment(layoutDirection(), alignment()));
  style()->drawItemText(&painter, contentsRect(), flags, palette(), isEnabled(), ShownText(),
                        foregroundRole());
}

}  // namespace paylark

#include "ui/widgets/focus_frame.h"

#include <QEvent>
#include <QPainter>

namespace paylark {

FocusFrame::FocusFrame(QWidget& watched) : QWidget(&watched), watched_(watched) {
  setObjectName(QStringLiteral("focusFrame"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(watched.rect());
  watched.installEventFilter(this);
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &watched_) {
    switch (event->type()) {
      case QEvent::Resize:
        setGeometry(watched_.rect());
        break;
      case QEvent::FocusIn:
      case QEvent::FocusOut:
        raise();  // above the children the pane added since
        update();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void FocusFrame::paintEvent(QPaintEvent*) {
  if (!watched_.hasFocus())
    return;
  QPainter painter(this);
  QPen pen(palette().color(QPalette::Highlight));
  pen.setWidth(kWidth);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  painter.drawRect(
      QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
}

}  // namespace paylark

#include "ui/widgets/screen_room.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace paylark {
namespace {

// A generous frame and title bar: the room left is what every common desktop leaves.
constexpr QSize kFrameAllowance(8, 36);

}  // namespace

QSize ScreenRoom(const QWidget* parent) {
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry().size() : QSize(640, 420);
}

QSize ContentRoom(const QWidget* parent) {
  return ScreenRoom(parent) - kFrameAllowance;
}

void FitWindow(QWidget& window, QSize preferred) {
  window.resize(
      preferred.boundedTo(ContentRoom(window.parentWidget())).expandedTo(window.minimumSizeHint()));
}

FittingScrollArea::FittingScrollArea(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setWidget(content);
  // The dialog's face shows through, not the viewport's base colour.
  viewport()->setAutoFillBackground(false);
  content->setAutoFillBackground(false);
}

QSize FittingScrollArea::sizeHint() const {
  const QSize content = widget() ? widget()->sizeHint() : QSize();
  return content + QSize(2 * frameWidth(), 2 * frameWidth());
}

}  // namespace paylark

#pragma once

#include <QScrollArea>
#include <QSize>

class QWidget;

namespace paylark {

// The room a window has on the screen it opens on (its parent's, else the primary screen),
// without the desktop's panels.
QSize ScreenRoom(const QWidget* parent);
// The room for a window's contents on that screen: ScreenRoom less a window manager's frame and
// title bar, which are not known before the window is shown.
QSize ContentRoom(const QWidget* parent);
// Sizes a window to `preferred`, shrunk to its ContentRoom where that is smaller, but never below
// the window's minimum size hint.
void FitWindow(QWidget& window, QSize preferred);

// A frameless scroll area that asks for its content's whole size, so a window is as large as
// its content where there is room and scrolls inside only where there is not.
class FittingScrollArea final : public QScrollArea {
  Q_OBJECT

 public:
  explicit FittingScrollArea(QWidget* content, QWidget* parent = nullptr);
  QSize sizeHint() const override;
};

}  // namespace paylark

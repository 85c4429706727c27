#pragma once

#include <QWidget>

namespace paylark {

// Shows which pane has the keyboard focus: a frame in the highlight colour drawn over the edge of
// the watched widget while it has the focus. It takes no clicks and no focus, and lives as long
// as the watched widget, its parent.
class FocusFrame final : public QWidget {
  Q_OBJECT

 public:
  explicit FocusFrame(QWidget& watched);

  static constexpr int kWidth = 2;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QWidget& watched_;
};

}  // namespace paylark

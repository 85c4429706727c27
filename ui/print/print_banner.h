#pragma once

#include <QWidget>

namespace paylark {

// The strip across the top of the Print dialog: the banner picture at its natural size, its
// gradient's last colour carried on to the right edge, and a rule underneath.
class PrintBanner final : public QWidget {
  Q_OBJECT

 public:
  explicit PrintBanner(QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace paylark

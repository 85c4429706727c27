#pragma once

#include <QColor>
#include <QWidget>

namespace paylark {

// The toolbar's label: a vertical gradient of the face colour in 192 bands with the accounts
// picture over it.
class GradientLabel final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kBands = 192;
  static constexpr int kBandWidth = 282;

  explicit GradientLabel(QWidget* parent = nullptr);

  // The colour of band index (0..191) between top and bottom, each channel cut to a whole number.
  static QColor BandColor(const QColor& top, const QColor& bottom, int index);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace paylark

#pragma once

#include <QAbstractButton>

namespace paylark {

// A clickable picture: an SVG drawn at the button's size, brightened under the mouse and shifted
// by a pixel while pressed, faded while disabled. The working-directory dialog's OK, Cancel, Browse
// and Help.
class ImageButton final : public QAbstractButton {
  Q_OBJECT

 public:
  ImageButton(const QString& svgPath, const QString& accessibleText, QSize size,
              QWidget* parent = nullptr);
  QSize sizeHint() const override { return size_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString svgPath_;
  QSize size_;
};

}  // namespace paylark

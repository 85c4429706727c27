#pragma once

#include <QPushButton>

namespace paylark {

// The styled push button: a face-colour gradient with a rounded border (border style 3), a
// lighter face under the mouse and a darker one while pressed.
class StyledButton final : public QPushButton {
  Q_OBJECT

 public:
  explicit StyledButton(const QString& caption = {}, QWidget* parent = nullptr);

  void SetStyleBorder(int style) { borderStyle_ = style; }
  void ShowText(bool show);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int borderStyle_ = 3;
  bool showText_ = true;
};

}  // namespace paylark

#pragma once

#include <QLineEdit>

namespace paylark {

// The amount field: typing gives digits and one decimal point in the whole text, nothing else
// (no sign, no blank, no clipboard shortcut). Range and form are checked when the page is read.
class CAmountEdit final : public QLineEdit {
  Q_OBJECT

 public:
  explicit CAmountEdit(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace paylark

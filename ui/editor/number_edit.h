#pragma once

#include <QLineEdit>

namespace paylark {

// A whole-number field: typing gives digits only (no sign, no point, no clipboard shortcut).
// The text is read as its leading integer, or checked as an integer, by the dialog that owns it.
class CNumberEdit final : public QLineEdit {
  Q_OBJECT

 public:
  explicit CNumberEdit(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace paylark

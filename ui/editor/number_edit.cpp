#include "ui/editor/number_edit.h"

#include <QKeyEvent>

#include "ui/editor/key_filter.h"

namespace paylark {

CNumberEdit::CNumberEdit(QWidget* parent) : QLineEdit(parent) {}

void CNumberEdit::keyPressEvent(QKeyEvent* event) {
  const KeyKind kind = ClassifyKey(*event);
  if (kind == KeyKind::kEditing ||
      (kind == KeyKind::kCharacter && IsDecimalDigit(event->text().front()))) {
    QLineEdit::keyPressEvent(event);
  } else {
    event->accept();
  }
}

}  // namespace paylark

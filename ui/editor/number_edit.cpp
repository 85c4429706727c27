#include "ui/editor/number_edit.h"

#include <QKeyEvent>

#include "ui/editor/key_filter.h"

namespace paylark {

CNumberEdit::CNumberEdit(QWidget* parent) : QLineEdit(parent) {
  // Typed text must arrive as key presses to pass the filter, not as input-method commits.
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

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

#include "ui/editor/amount_edit.h"

#include <QKeyEvent>

#include "ui/editor/key_filter.h"

namespace paylark {

CAmountEdit::CAmountEdit(QWidget* parent) : QLineEdit(parent) {
  // Typed text must arrive as key presses to pass the filter, not as input-method commits.
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CAmountEdit::keyPressEvent(QKeyEvent* event) {
  bool passes = false;
  switch (ClassifyKey(*event)) {
    case KeyKind::kEditing:
      passes = true;
      break;
    case KeyKind::kDropped:
      break;
    case KeyKind::kCharacter: {
      const QChar typed = event->text().front();
      // The whole text counts, a selected point too: the point can only be typed once.
      passes = IsDecimalDigit(typed) ||
               (typed == QLatin1Char('.') && !text().contains(QLatin1Char('.')));
      break;
    }
  }
  if (passes) {
    QLineEdit::keyPressEvent(event);
  } else {
    event->accept();
  }
}

}  // namespace paylark

#include "ui/widgets/filtered_line_edit.h"

#include <QKeyEvent>

#include "ui/widgets/key_filter.h"

namespace paylark {

FilteredLineEdit::FilteredLineEdit(Filter filter, QWidget* parent)
    : QLineEdit(parent), filter_(filter) {
  // Typed text must arrive as key presses to pass the filter, not as input-method commits.
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool FilteredLineEdit::Accepts(QChar typed) const {
  if (IsDecimalDigit(typed))
    return true;
  // The whole text counts, a selected point too: the point can only be typed once.
  return filter_ == Filter::kAmount && typed == QLatin1Char('.') &&
         !text().contains(QLatin1Char('.'));
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
  const KeyKind kind = ClassifyKey(*event);
  if (kind == KeyKind::kEditing ||
      (kind == KeyKind::kCharacter && Accepts(event->text().front()))) {
    QLineEdit::keyPressEvent(event);
  } else {
    event->accept();
  }
}

}  // namespace paylark

#include "ui/widgets/filtered_line_edit.h"

#include <QKeyEvent>

#include "ui/widgets/key_filter.h"

namespace paylark {

FilteredLineEdit::FilteredLineEdit(Filter filter, QWidget* parent)
    : QLineEdit(parent), filter_(filter), marks_(LocaleAmountMarks()) {
  // Typed text must arrive as key presses to pass the filter, not as input-method commits.
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool FilteredLineEdit::Accepts(QChar typed) const {
  if (IsDecimalDigit(typed))
    return true;
  if (filter_ != Filter::kAmount)
    return false;
  // The whole text counts, a selected mark too: the decimal mark can only be typed once.
  const QString decimal = QString::fromStdString(marks_.decimal);
  if (typed == decimal)
    return !text().contains(decimal);
  if (IsGroupingMark(QString(typed).toStdString(), marks_))
    return true;
  return !marks_.grouping.empty() && (typed == QLatin1Char('.') || typed == QLatin1Char(','));
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

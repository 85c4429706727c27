#include "ui/widgets/key_filter.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace paylark {
namespace {

bool IsEditingKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
      return true;
    default:
      return false;
  }
}

bool IsClipboardShortcut(const QKeyEvent& event) {
  return event.matches(QKeySequence::Copy) || event.matches(QKeySequence::Cut) ||
         event.matches(QKeySequence::Paste);
}

}  // namespace

KeyKind ClassifyKey(const QKeyEvent& event) {
  if (IsClipboardShortcut(event))
    return KeyKind::kDropped;
  if (IsEditingKey(event.key()))
    return KeyKind::kEditing;
  if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
    return KeyKind::kDropped;
  const QString text = event.text();
  if (text.isEmpty())
    return KeyKind::kEditing;
  if (text.size() != 1 || !text.front().isPrint())
    return KeyKind::kDropped;
  return KeyKind::kCharacter;
}

bool IsDecimalDigit(QChar character) {
  return character >= QLatin1Char('0') && character <= QLatin1Char('9');
}

}  // namespace paylark

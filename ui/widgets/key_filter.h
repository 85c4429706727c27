#pragma once

class QKeyEvent;
class QChar;

namespace paylark {

// How a filtered field treats a key press.
enum class KeyKind {
  kEditing,    // cursor, navigation, backspace, dialog keys: the field's standard handling
  kDropped,    // clipboard shortcuts and other control characters: nothing happens
  kCharacter,  // one printable character that the field decides on
};

// Sorts a key press the way a character filter sees it: keys that never arrive as characters
// keep working, every control character but backspace is dropped.
KeyKind ClassifyKey(const QKeyEvent& event);

bool IsDecimalDigit(QChar character);

}  // namespace paylark

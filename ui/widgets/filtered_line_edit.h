#pragma once

#include <QLineEdit>

#include "core/base/locale_amount.h"

namespace paylark {

// A line edit that lets only the characters of its filter be typed (no sign, no blank, no
// clipboard shortcut). Range and form are checked by the dialog that reads the text.
class FilteredLineEdit final : public QLineEdit {
  Q_OBJECT

 public:
  enum class Filter {
    // Digits, the locale's decimal mark once in the whole text, its grouping mark; where the
    // locale groups digits, also the point and comma of other locales, so that a mark typed
    // out of habit is refused when the text is read rather than silently dropped.
    kAmount,
    kNumber,  // digits only
  };

  explicit FilteredLineEdit(Filter filter, QWidget* parent = nullptr);

  // The process locale's amount marks when the field was made.
  const AmountMarks& marks() const { return marks_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool Accepts(QChar typed) const;

  Filter filter_;
  AmountMarks marks_;
};

}  // namespace paylark

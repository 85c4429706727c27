#pragma once

#include <QLineEdit>

namespace paylark {

// A line edit that lets only the characters of its filter be typed (no sign, no blank, no
// clipboard shortcut). Range and form are checked by the dialog that reads the text.
class FilteredLineEdit final : public QLineEdit {
  Q_OBJECT

 public:
  enum class Filter {
    kAmount,  // digits and one decimal point in the whole text
    kNumber,  // digits only
  };

  explicit FilteredLineEdit(Filter filter, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool Accepts(QChar typed) const;

  Filter filter_;
};

}  // namespace paylark

#pragma once

#include <QDateTimeEdit>
#include <QToolBar>

#include "ui/widgets/styled_combo_box.h"

namespace paylark {

class GradientLabel;
class Commands;

// The toolbar's month picker: today at start-up, shown as "MMMM  yyyy"; every change of its
// date emits dateTimeChanged.
class MonthPicker final : public QDateTimeEdit {
  Q_OBJECT

 public:
  explicit MonthPicker(QWidget* parent = nullptr);
};

// The toolbar's filter: "All", "Paid Dues", "Unpaid Dues"; "All" at start-up.
class FilterCombo final : public StyledComboBox {
  Q_OBJECT

 public:
  explicit FilterCombo(QWidget* parent = nullptr);
};

// The main toolbar: month navigation with the picker, New/Modify/Delete, the accounts label and
// the filter, Refresh/Synchronize/Toggle Detail Window, the four exports, Help and About.
class MainToolBar final : public QToolBar {
  Q_OBJECT

 public:
  MainToolBar(const Commands& commands, QAction* toggleDetails, QWidget* parent = nullptr);

  MonthPicker& datePicker() { return *datePicker_; }
  FilterCombo& filter() { return *filter_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  MonthPicker* datePicker_;
  FilterCombo* filter_;
  GradientLabel* label_;
};

}  // namespace paylark

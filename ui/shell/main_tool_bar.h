#pragma once

#include <QDateTimeEdit>
#include <QToolBar>

#include "ui/widgets/gui_combo_box_ext.h"

namespace paylark {

class CGradientLabel;
class Commands;

// The toolbar's month picker: today at start-up, shown as "MMMM  yyyy"; every change of its
// date emits dateTimeChanged.
class CToolbarDateCtrl final : public QDateTimeEdit {
  Q_OBJECT

 public:
  explicit CToolbarDateCtrl(QWidget* parent = nullptr);
};

// The toolbar's filter: "All", "Paid Dues", "Unpaid Dues"; "All" at start-up.
class CToolbarCombo final : public CGuiComboBoxExt {
  Q_OBJECT

 public:
  explicit CToolbarCombo(QWidget* parent = nullptr);
};

// The main toolbar: month navigation with the picker, New/Modify/Delete, the accounts label and
// the filter, Refresh/Synchronize/Toggle Detail Window, the four exports, Help and About.
class CMainToolBar final : public QToolBar {
  Q_OBJECT

 public:
  CMainToolBar(const Commands& commands, QAction* toggleDetails, QWidget* parent = nullptr);

  CToolbarDateCtrl& datePicker() { return *datePicker_; }
  CToolbarCombo& filter() { return *filter_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CToolbarDateCtrl* datePicker_;
  CToolbarCombo* filter_;
  CGradientLabel* label_;
};

}  // namespace paylark

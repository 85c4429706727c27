#pragma once

#include <QDialog>

class QTabWidget;

namespace paylark {

class CDetailPage;
class CNotesPage;

// The Modify Due sheet: the two pages as the tabs "Due Details" and "Notes" with OK and Cancel.
// OK reads the Details page first and stays open (on that tab) when a field is refused.
class CModifySheet final : public QDialog {
  Q_OBJECT

 public:
  CModifySheet(CDetailPage* details, CNotesPage* notes, QWidget* parent);

  void accept() override;

 private:
  CDetailPage* details_;
  QTabWidget* tabs_;
};

}  // namespace paylark

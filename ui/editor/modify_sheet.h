#pragma once

#include <QDialog>

class QTabWidget;

namespace paylark {

class AttachmentsPage;
class DetailsPage;
class NotesPage;

// The Modify Due sheet: the pages as the tabs "Due Details", "Notes" and "Attachments" with OK
// and Cancel.
// OK reads the Details page first and stays open (on that tab) when a field is refused.
class ModifySheet final : public QDialog {
  Q_OBJECT

 public:
  ModifySheet(DetailsPage* details, NotesPage* notes, AttachmentsPage* attachments,
              QWidget* parent);

  void accept() override;

 protected:
  // The sheet opens with the cursor in Title, ready to type.
  void showEvent(QShowEvent* event) override;

 private:
  DetailsPage* details_;
  QTabWidget* tabs_;
};

}  // namespace paylark

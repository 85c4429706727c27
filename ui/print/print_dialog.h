#pragma once

#include <QDialog>

#include "ui/print/print_list_model.h"
#include "ui/print/print_page_file.h"
#include "ui/print/print_preview_document.h"

class QDateTimeEdit;

namespace paylark {

class StyledButton;
class StyledComboBox;
class PaylarkApp;
class PrintDueList;

// The Print dialog: the dues of a range of months in a checkable list, narrowed by the Records
// and Account boxes or by hand. Print renders the checked dues into "print.html", loads it into
// the preview document and, when at least one row is checked, opens the print preview. The
// dialog never changes the record store.
class PrintDialog final : public QDialog {
  Q_OBJECT

 public:
  PrintDialog(PaylarkApp& app, PrintPlaces places);

  QDateTimeEdit& fromPicker() const { return *from_; }
  QDateTimeEdit& toPicker() const { return *to_; }
  StyledComboBox& recordsBox() const { return *records_; }
  StyledComboBox& accountBox() const { return *account_; }
  PrintDueList& list() const { return *list_; }
  const PrintListModel& model() const { return model_; }
  StyledButton& printButton() const { return *print_; }
  const PrintPreviewDocument& preview() const { return preview_; }

 private:
  QWidget* MakeListColumn();
  QWidget* MakeFilterGroup();
  QLayout* MakeButtonRow();
  void ConnectControls();
  void FitListToScreen();

  // Lists the dues of the months from From to To, unchecked, and rebuilds the account entries.
  void Refill();
  void FromChanged();
  void RecordsChosen(int index);
  void AccountChosen(int index);
  void RenderAndLoad();
  void Preview();

  PaylarkApp& app_;
  PrintPlaces places_;
  PrintListModel model_;
  PrintPreviewDocument preview_;
  QDateTimeEdit* from_ = nullptr;
  QDateTimeEdit* to_ = nullptr;
  StyledComboBox* records_ = nullptr;
  StyledComboBox* account_ = nullptr;
  StyledComboBox* hidden_ = nullptr;
  PrintDueList* list_ = nullptr;
  StyledButton* print_ = nullptr;
  StyledButton* cancel_ = nullptr;
};

}  // namespace paylark

#pragma once

#include <QDialog>

#include "core/exchange/csv_import.h"

class QDialogButtonBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace paylark {

// The preview of a CSV import: the dues that will be added, and the rows that cannot be, each
// with its reason. Import is enabled only when no row is bad and there is something to add.
class ImportDialog final : public QDialog {
  Q_OBJECT

 public:
  ImportDialog(const QString& fileName, const ImportPlan& plan, QWidget* parent = nullptr);

  QTableWidget& duesTable() { return *dues_; }
  QTableWidget& refusedTable() { return *refused_; }
  QLabel& summary() { return *summary_; }
  QPushButton& importButton() { return *import_; }

 private:
  void FillDues(const ImportPlan& plan);
  void FillRefused(const ImportPlan& plan);

  QLabel* summary_;
  QTableWidget* dues_;
  QLabel* refusedHeading_;
  QTableWidget* refused_;
  QPushButton* import_;
};

}  // namespace paylark

#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "core/statements/bank_csv_columns.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace paylark {

// The mapping step of a bank CSV: the separator, decimal mark and date form found in the file,
// its first rows, and a choice per role (date, amount or debit and credit, counterparty,
// description, reference). OK is enabled only when the date and the money are chosen, each
// column for one role at most.
class StatementColumnsDialog final : public QDialog {
  Q_OBJECT

 public:
  // The roles' names, as the combo boxes' object names and the remembered text use them.
  enum class Role {
    kDate,
    kAmount,
    kDebit,
    kCredit,
    kCounterparty,
    kDescription,
    kReference,
    kDebitCreditMark
  };

  StatementColumnsDialog(const QString& fileName, const BankCsvShape& shape,
                         const BankCsvColumns& preset, QWidget* parent = nullptr);

  BankCsvColumns columns() const;
  QComboBox& combo(Role role) { return *combos_.at(static_cast<std::size_t>(role)); }
  QPushButton& okButton() { return *ok_; }
  QLabel& hint() { return *hint_; }

 private:
  QWidget* BuildChoices(const BankCsvShape& shape, const BankCsvColumns& preset);
  void MarkSample();
  void UpdateState();

  QStringList columnNames_;
  std::vector<QComboBox*> combos_;
  QTableWidget* sample_;
  QLabel* hint_;
  QPushButton* ok_;
};

}  // namespace paylark

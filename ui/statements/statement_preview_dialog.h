#pragma once

#include <QDialog>
#include <vector>

#include "core/records/due_map.h"
#include "core/statements/statement.h"
#include "core/statements/statement_import.h"
#include "core/statements/statement_matching.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace paylark {

// The preview of a statement import: the account, period and closing balance, then the
// transactions by what importing them would do. Sure matches are checked, possible ones not;
// transactions that match nothing may be added as paid dues (unchecked); the period's dues
// still unpaid and the transactions imported before are shown for information only.
class StatementPreviewDialog final : public QDialog {
  Q_OBJECT

 public:
  // The sections, top to bottom, as the tree's top-level items.
  enum class Section { kSure, kPossible, kUnmatched, kStillUnpaid, kAlreadyImported };

  // dues gives each matched and still unpaid due's title, due date and amount.
  StatementPreviewDialog(const QString& fileName, const Statement& statement,
                         const StatementMatching& matching, const DueMap& dues,
                         QWidget* parent = nullptr);

  // What is checked: the matches to accept, the transactions to add, the closing balance.
  StatementImportChoice choice() const;

  QTreeWidget& tree() { return *tree_; }
  QTreeWidgetItem& section(Section section);
  QLabel& accountLine() { return *account_; }
  QLabel& accountNote() { return *accountNote_; }
  QLabel& periodLine() { return *period_; }
  QCheckBox& balanceBox() { return *balance_; }
  QPushButton& importButton() { return *import_; }

 private:
  void Fill(const Statement& statement, const StatementMatching& matching, const DueMap& dues);
  void UpdateImportButton();

  std::vector<StatementMatch> matches_;  // in the order of their rows' match index
  QLabel* account_;
  QLabel* accountNote_;
  QLabel* period_;
  QCheckBox* balance_;
  QTreeWidget* tree_;
  QPushButton* import_;
};

}  // namespace paylark

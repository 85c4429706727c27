#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/records/due_map.h"
#include "core/statements/statement.h"
#include "core/statements/statement_import.h"
#include "core/statements/statement_matching.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace paylark {

// The preview of a statement import: the Paylark account the statement goes to (a choice: the
// linked or best matching account first, the others, or a new name typed in), the bank's account,
// period and closing balance, then the transactions by what importing them would do, each match
// with its reason. Sure matches are checked, possible ones not; transactions that match nothing
// may be added as paid dues (unchecked); the period's dues still unpaid and the transactions
// imported before are shown for information only. Below the list, why the current row was
// matched. Choosing another account asks for the
// statement to be matched again (accountChosen) and shown anew (Show).
class StatementPreviewDialog final : public QDialog {
  Q_OBJECT

 public:
  // The sections, top to bottom, as the tree's top-level items.
  enum class Section { kSure, kPossible, kUnmatched, kStillUnpaid, kAlreadyImported };

  // dues gives each matched and still unpaid due's title, due date and amount; accounts are the
  // Paylark accounts to offer, best first. balanceEntered: the closing balance is an entry of the
  // statement's account already, so it is not offered again.
  StatementPreviewDialog(const QString& fileName, const Statement& statement,
                         const StatementMatching& matching, const DueMap& dues,
                         const std::vector<std::string>& accounts, bool balanceEntered = false,
                         QWidget* parent = nullptr);

  // Shows the statement anew, as matched for the account it now names.
  void Show(const Statement& statement, const StatementMatching& matching, bool balanceEntered);

  // What is checked: the matches to accept, the transactions to add, the closing balance.
  StatementImportChoice choice() const;

  QTreeWidget& tree() { return *tree_; }
  QTreeWidgetItem& section(Section section);
  QComboBox& accountBox() { return *account_; }
  QLabel& bankAccountLine() { return *bankAccount_; }
  QLabel& accountNote() { return *accountNote_; }
  QLabel& periodLine() { return *period_; }
  QCheckBox& balanceBox() { return *balance_; }
  QPushButton& importButton() { return *import_; }
  // Why the current row was matched: "Why: amount exact · 1 day late · …"; empty for others.
  QLabel& reasonLine() { return *reason_; }

 signals:
  // The user chose or typed another account (empty: dues without an account).
  void accountChosen(const QString& account);

 private:
  void Fill(const Statement& statement, const StatementMatching& matching);
  void ChooseAccount();
  void UpdateImportButton();

  const DueMap& dues_;
  std::vector<StatementMatch> matches_;  // in the order of their rows' match index
  QString shownAccount_;
  QComboBox* account_;
  QLabel* bankAccount_;
  QLabel* accountNote_;
  QLabel* period_;
  QCheckBox* balance_;
  QTreeWidget* tree_;
  QLabel* reason_;
  QPushButton* import_;
};

}  // namespace paylark

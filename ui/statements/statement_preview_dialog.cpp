#include "ui/statements/statement_preview_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/cents.h"
#include "core/base/format.h"
#include "core/records/due_record.h"
#include "ui/widgets/screen_room.h"

namespace paylark {
namespace {

using Section = StatementPreviewDialog::Section;

enum Column { kDate, kCounterparty, kAmount, kDue, kDueDate, kDueAmount, kColumnCount };

// A row's index: into the matches for the two match sections, else into the transactions.
constexpr int kIndexRole = Qt::UserRole;
// Why a match row was matched, shown below the list for the current row.
constexpr int kReasonRole = Qt::UserRole + 1;

QString DateText(const OleDateTime& date) {
  return QString::fromStdString(FormatDate(date, "d MMM yyyy"));
}

QString MoneyText(Cents cents) {
  return QString::fromStdString(FormatAmount(FromCents(cents)));
}

// As the month list shows a due's amount: incomes with a leading "+".
QString DueAmountText(const DueRecord& record) {
  const QString amount = QString::fromStdString(FormatAmount(record.amount));
  return IsIncome(record) ? QLatin1Char('+') + amount : amount;
}

QString WhoText(const StatementTransaction& transaction) {
  QStringList parts;
  if (!transaction.counterparty.empty())
    parts << QString::fromStdString(transaction.counterparty);
  if (!transaction.memo.empty())
    parts << QString::fromStdString(transaction.memo);
  return parts.join(QStringLiteral(" · ")).simplified();
}

QString SectionTitle(Section section, std::size_t count) {
  static const char* const kTitles[] = {
      "Sure matches: mark these dues paid (%1)",
      "Possible matches: check those that are right (%1)",
      "Matching no due: check to add as a paid due (%1)",
      "Dues of the period still unpaid (%1)",
      "Imported before (%1)",
  };
  return QString::fromLatin1(kTitles[static_cast<int>(section)]).arg(count);
}

QString BankAccountText(const Statement& statement) {
  return statement.bankAccount.empty()
             ? QStringLiteral("The statement names no bank account.")
             : QStringLiteral("Bank account %1").arg(QString::fromStdString(statement.bankAccount));
}

const QString& NewAccountItem() {
  static const QString text = QStringLiteral("New account…");
  return text;
}

QString PeriodText(const Statement& statement) {
  std::optional<OleDateTime> first = statement.periodStart;
  std::optional<OleDateTime> last = statement.periodEnd;
  for (const StatementTransaction& transaction : statement.transactions) {
    if (!statement.periodStart && (!first || transaction.bookingDate < *first))
      first = transaction.bookingDate;
    if (!statement.periodEnd && (!last || *last < transaction.bookingDate))
      last = transaction.bookingDate;
  }
  if (!first || !last)
    return QStringLiteral("Period: not given");
  return QStringLiteral("Period: %1 – %2 (%3 transactions)")
      .arg(DateText(*first), DateText(*last))
      .arg(statement.transactions.size());
}

QString BalanceText(const Statement& statement) {
  if (!statement.closingBalance)
    return {};
  const QString place =
      statement.account.empty()
          ? QString()
          : QStringLiteral(" of %1").arg(QString::fromStdString(statement.account));
  return QStringLiteral("&Set the balance%1 to %2 on %3")
      .arg(place, MoneyText(statement.closingBalance->amount),
           DateText(statement.closingBalance->date));
}

QTreeWidgetItem* AddSection(QTreeWidget& tree, Section section, std::size_t count) {
  auto* item = new QTreeWidgetItem(&tree, {SectionTitle(section, count)});
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  QFont bold = item->font(0);
  bold.setBold(true);
  item->setFont(0, bold);
  item->setFirstColumnSpanned(true);
  item->setExpanded(true);
  return item;
}

void PutTransaction(QTreeWidgetItem& row, const StatementTransaction& transaction) {
  row.setText(kDate, DateText(transaction.bookingDate));
  row.setText(kCounterparty, WhoText(transaction));
  row.setToolTip(kCounterparty, row.text(kCounterparty));
  // An amount in another currency than the statement's says so.
  row.setText(kAmount,
              transaction.currency.empty()
                  ? MoneyText(transaction.amount)
                  : QStringLiteral("%1 %2").arg(
                        QString::fromStdString(FormatAmountNumber(FromCents(transaction.amount))),
                        QString::fromStdString(transaction.currency)));
  row.setTextAlignment(kAmount, Qt::AlignRight | Qt::AlignVCenter);
}

void PutDue(QTreeWidgetItem& row, const DueMap& dues, const std::string& recordId) {
  const std::optional<DueRecord> record = dues.Find(recordId);
  if (!record)
    return;
  row.setText(kDue, QString::fromStdString(record->title));
  row.setToolTip(kDue, QString::fromStdString(record->title + " - " + record->payTo));
  row.setText(kDueDate, DateText(record->dueDate));
  row.setText(kDueAmount, DueAmountText(*record));
  row.setTextAlignment(kDueAmount, Qt::AlignRight | Qt::AlignVCenter);
}

QTreeWidgetItem* AddCheckable(QTreeWidgetItem& section, int index, bool checked) {
  auto* row = new QTreeWidgetItem(&section);
  row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  row->setCheckState(kDate, checked ? Qt::Checked : Qt::Unchecked);
  row->setData(kDate, kIndexRole, index);
  return row;
}

bool IsChecked(const QTreeWidgetItem& row) {
  return row.checkState(kDate) == Qt::Checked;
}

}  // namespace

StatementPreviewDialog::StatementPreviewDialog(const QString& fileName, const Statement& statement,
                                               const StatementMatching& matching,
                                               const DueMap& dues,
                                               const std::vector<std::string>& accounts,
                                               bool balanceEntered, QWidget* parent)
    : QDialog(parent),
      dues_(dues),
      account_(new QComboBox(this)),
      bankAccount_(new QLabel(BankAccountText(statement), this)),
      accountNote_(new QLabel(
          QStringLiteral("No due names this account; dues without an account were matched."),
          this)),
      period_(new QLabel(PeriodText(statement), this)),
      balance_(new QCheckBox(this)),
      tree_(new QTreeWidget(this)),
      reason_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Import Statement - %1").arg(fileName));
  reason_->setObjectName(QStringLiteral("reason"));
  reason_->setWordWrap(true);
  account_->setObjectName(QStringLiteral("account"));
  account_->setEditable(true);
  account_->setInsertPolicy(QComboBox::NoInsert);
  account_->lineEdit()->setPlaceholderText(QStringLiteral("(no account)"));
  for (const std::string& account : accounts)
    account_->addItem(QString::fromStdString(account));
  account_->addItem(NewAccountItem());
  account_->setMinimumContentsLength(18);
  auto* accountLabel = new QLabel(QStringLiteral("&Account:"), this);
  accountLabel->setBuddy(account_);
  bankAccount_->setObjectName(QStringLiteral("bankAccount"));
  accountNote_->setObjectName(QStringLiteral("accountNote"));
  accountNote_->setWordWrap(true);
  period_->setObjectName(QStringLiteral("period"));
  balance_->setObjectName(QStringLiteral("writeBalance"));
  tree_->setObjectName(QStringLiteral("transactions"));
  tree_->setColumnCount(kColumnCount);
  tree_->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Counterparty / memo"),
                          QStringLiteral("Amount"), QStringLiteral("Due"),
                          QStringLiteral("Due date"), QStringLiteral("Due amount")});
  tree_->setRootIsDecorated(false);
  tree_->setItemsExpandable(false);
  tree_->setUniformRowHeights(true);
  // The due's amount stays beside its date rather than at the far edge of a wide window.
  tree_->header()->setStretchLastSection(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  import_ = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
  import_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* accountRow = new QHBoxLayout;
  accountRow->addWidget(accountLabel);
  accountRow->addWidget(account_);
  accountRow->addWidget(bankAccount_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(accountRow);
  layout->addWidget(accountNote_);
  layout->addWidget(period_);
  layout->addWidget(balance_);
  layout->addWidget(tree_, 1);
  layout->addWidget(reason_);
  layout->addWidget(buttons);
  Show(statement, matching, balanceEntered);
  connect(tree_, &QTreeWidget::itemChanged, this, &StatementPreviewDialog::UpdateImportButton);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    const QString reason = current ? current->data(kDate, kReasonRole).toString() : QString();
    reason_->setText(reason.isEmpty() ? QString() : QStringLiteral("Why: %1").arg(reason));
  });
  connect(balance_, &QCheckBox::toggled, this, &StatementPreviewDialog::UpdateImportButton);
  connect(account_, &QComboBox::activated, this, &StatementPreviewDialog::ChooseAccount);
  connect(account_->lineEdit(), &QLineEdit::editingFinished, this,
          &StatementPreviewDialog::ChooseAccount);
  tree_->setFocus();
  FitWindow(*this, QSize(960, 560));
}

void StatementPreviewDialog::Show(const Statement& statement, const StatementMatching& matching,
                                  bool balanceEntered) {
  const QSignalBlocker blockTree(tree_);
  shownAccount_ = QString::fromStdString(statement.account);
  account_->setEditText(shownAccount_);
  accountNote_->setVisible(matching.accountNamedByNoDue);
  const bool offerBalance = statement.closingBalance.has_value() && !balanceEntered;
  balance_->setText(BalanceText(statement));
  balance_->setChecked(offerBalance);
  balance_->setVisible(offerBalance);
  matches_ = matching.matches;
  tree_->clear();
  Fill(statement, matching);
  UpdateImportButton();
}

void StatementPreviewDialog::ChooseAccount() {
  if (account_->currentText() == NewAccountItem()) {
    account_->setEditText(QString());
    account_->lineEdit()->setFocus();
    return;
  }
  const QString chosen = account_->currentText().trimmed();
  if (chosen != shownAccount_)
    emit accountChosen(chosen);
}

void StatementPreviewDialog::Fill(const Statement& statement, const StatementMatching& matching) {
  const DueMap& dues = dues_;
  const auto sureCount = static_cast<std::size_t>(std::count_if(
      matches_.begin(), matches_.end(), [](const StatementMatch& match) { return match.sure; }));
  QTreeWidgetItem* sure = AddSection(*tree_, Section::kSure, sureCount);
  QTreeWidgetItem* possible = AddSection(*tree_, Section::kPossible, matches_.size() - sureCount);
  for (std::size_t index = 0; index < matches_.size(); ++index) {
    const StatementMatch& match = matches_[index];
    QTreeWidgetItem* row =
        AddCheckable(match.sure ? *sure : *possible, static_cast<int>(index), match.sure);
    PutTransaction(*row, statement.transactions.at(match.transaction));
    PutDue(*row, dues, match.recordId);
    const QString reason = QString::fromStdString(MatchReasonText(match.reason));
    row->setData(kDate, kReasonRole, reason);
    row->setToolTip(kDue, reason);
  }
  QTreeWidgetItem* unmatched = AddSection(*tree_, Section::kUnmatched, matching.unmatched.size());
  for (const std::size_t transaction : matching.unmatched) {
    QTreeWidgetItem* row = AddCheckable(*unmatched, static_cast<int>(transaction), false);
    PutTransaction(*row, statement.transactions.at(transaction));
    row->setText(kDue, QStringLiteral("Add as a paid due"));
    row->setForeground(kDue, palette().brush(QPalette::Disabled, QPalette::Text));
  }
  QTreeWidgetItem* unpaid = AddSection(*tree_, Section::kStillUnpaid, matching.stillUnpaid.size());
  for (const std::string& recordId : matching.stillUnpaid)
    PutDue(*new QTreeWidgetItem(unpaid), dues, recordId);
  QTreeWidgetItem* before =
      AddSection(*tree_, Section::kAlreadyImported, matching.alreadyImported.size());
  for (const std::size_t transaction : matching.alreadyImported) {
    auto* row = new QTreeWidgetItem(before);
    PutTransaction(*row, statement.transactions.at(transaction));
    // Shown greyed: nothing can be done with it again.
    row->setFlags(Qt::NoItemFlags);
  }
  for (int column = 0; column < kColumnCount; ++column)
    tree_->resizeColumnToContents(column);
  tree_->setColumnWidth(kCounterparty, std::min(tree_->columnWidth(kCounterparty), 260));
  tree_->setColumnWidth(kDue, std::min(tree_->columnWidth(kDue), 200));
}

QTreeWidgetItem& StatementPreviewDialog::section(Section section) {
  return *tree_->topLevelItem(static_cast<int>(section));
}

StatementImportChoice StatementPreviewDialog::choice() const {
  StatementImportChoice chosen;
  for (const Section kind : {Section::kSure, Section::kPossible}) {
    const QTreeWidgetItem& rows = *tree_->topLevelItem(static_cast<int>(kind));
    for (int row = 0; row < rows.childCount(); ++row) {
      if (IsChecked(*rows.child(row)))
        chosen.accepted.push_back(matches_.at(rows.child(row)->data(kDate, kIndexRole).toUInt()));
    }
  }
  const QTreeWidgetItem& unmatched = *tree_->topLevelItem(static_cast<int>(Section::kUnmatched));
  for (int row = 0; row < unmatched.childCount(); ++row) {
    if (IsChecked(*unmatched.child(row)))
      chosen.addAsPaid.push_back(unmatched.child(row)->data(kDate, kIndexRole).toUInt());
  }
  chosen.writeClosingBalance = balance_->isVisibleTo(this) && balance_->isChecked();
  return chosen;
}

void StatementPreviewDialog::UpdateImportButton() {
  const StatementImportChoice chosen = choice();
  import_->setEnabled(!chosen.accepted.empty() || !chosen.addAsPaid.empty() ||
                      chosen.writeClosingBalance);
}

}  // namespace paylark

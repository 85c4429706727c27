#include "ui/statements/find_recurring_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/statements/recurring/suggested_series_creation.h"

namespace paylark {
namespace {

constexpr int kLargestCount = 999;

QString AmountText(const SeriesSuggestion& suggestion) {
  const QString sign = suggestion.income ? QStringLiteral("+") : QString();
  const auto amount = [&](Cents cents) {
    return sign + QString::fromStdString(FormatAmount(FromCents(cents)));
  };
  if (!suggestion.variable)
    return amount(suggestion.amount);
  return amount(suggestion.minimum) + QStringLiteral(" to ") + amount(suggestion.maximum);
}

QString HistoryText(const SeriesSuggestions& found) {
  const std::string range = "from " + FormatDate(found.firstBooking, "d MMM yyyy") + " to " +
                            FormatDate(found.lastBooking, "d MMM yyyy");
  QString text =
      QString::fromStdString(MessageText({MessageId::kBankHistory, range, found.historyDays, {}}));
  if (found.monthlyLeftOut) {
    text += QLatin1Char(' ') + QString::fromStdString(MessageText(
                                   {MessageId::kShortBankHistory, {}, found.historyDays, {}}));
  }
  if (found.suggestions.empty())
    text += QLatin1Char(' ') + QString::fromStdString(MessageText(MessageId::kNoSeriesFound));
  return text;
}

QTableWidgetItem* ReadOnly(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

FindRecurringDialog::FindRecurringDialog(const SeriesSuggestions& found, QWidget* parent)
    : QDialog(parent),
      history_(new QLabel(HistoryText(found), this)),
      table_(new QTableWidget(static_cast<int>(found.suggestions.size()), kColumns, this)),
      create_(nullptr) {
  setWindowTitle(QStringLiteral("Find Recurring Bills"));
  history_->setWordWrap(true);
  table_->setHorizontalHeaderLabels({QStringLiteral("Title"), QStringLiteral("Pay To"),
                                     QStringLiteral("Pattern"), QStringLiteral("Amount"),
                                     QStringLiteral("Seen"), QStringLiteral("Next Due"),
                                     QStringLiteral("Count")});
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  for (std::size_t i = 0; i < found.suggestions.size(); ++i)
    FillRow(static_cast<int>(i), found.suggestions[i]);
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  create_ = buttons->addButton(QStringLiteral("Create"), QDialogButtonBox::AcceptRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(table_, &QTableWidget::itemChanged, this, &FindRecurringDialog::UpdateCreate);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(history_);
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);
  UpdateCreate();
  resize(760, 420);
}

void FindRecurringDialog::FillRow(int row, const SeriesSuggestion& suggestion) {
  auto* title = new QTableWidgetItem(QString::fromStdString(suggestion.title));
  title->setFlags(title->flags() | Qt::ItemIsUserCheckable);
  title->setCheckState(Qt::Unchecked);
  table_->setItem(row, kTitle, title);
  table_->setItem(row, kPayTo, ReadOnly(QString::fromStdString(suggestion.payTo)));
  table_->setItem(row, kPattern, ReadOnly(QString::fromStdString(suggestion.patternText)));
  table_->setItem(row, kAmount, ReadOnly(AmountText(suggestion)));
  table_->setItem(row, kSeen, ReadOnly(QString::number(suggestion.seen.size())));
  table_->setItem(row, kNext,
                  ReadOnly(QString::fromStdString(FormatDate(suggestion.next, "d MMM yyyy"))));
  table_->setItem(row, kCount, new QTableWidgetItem(QString::number(kSuggestedMembers)));
}

std::vector<FindRecurringDialog::Choice> FindRecurringDialog::Chosen() const {
  std::vector<Choice> chosen;
  for (int row = 0; row < table_->rowCount(); ++row) {
    const QTableWidgetItem* title = table_->item(row, kTitle);
    if (title->checkState() != Qt::Checked)
      continue;
    const int count =
        std::clamp(table_->item(row, kCount)->text().trimmed().toInt(), 0, kLargestCount);
    chosen.push_back({static_cast<std::size_t>(row), title->text().trimmed().toStdString(), count});
  }
  return chosen;
}

void FindRecurringDialog::UpdateCreate() {
  const std::vector<Choice> chosen = Chosen();
  create_->setEnabled(!chosen.empty() && std::all_of(chosen.begin(), chosen.end(),
                                                     [](const Choice& c) { return c.count > 0; }));
}

}  // namespace paylark
